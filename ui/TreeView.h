// TTreeView: a tree of text items with icons from an image list; lines, buttons, indent,
// label editing and sorting by text are properties that repaint when set.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Control.h"

namespace pelorin {

class TImageList;

enum TSortType { stNone, stText };

class TTreeView : public TControl {
public:
    TTreeView(TForm& parent, const Bounds& bounds);

    // Defaults: lines, buttons and root lines shown, labels editable, indent 19, unsorted,
    // no images.
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool show);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool show);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool show);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    int Indent() const { return indent_; }
    void SetIndent(int indent);
    // stText keeps the items of every level in text order, as they come and at once.
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType sortType);
    // The list the item icons come from; it must outlive the tree view's use of it.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    // Adds an item under parent (nullptr: at the top) showing image imageIndex, normal and
    // selected. Raises pelorin::Exception when the control refuses it.
    HTREEITEM Add(HTREEITEM parent, const std::string& text, int imageIndex = 0);
    void Clear();
    int Count() const;

    HTREEITEM Selected() const;
    void Select(HTREEITEM item);
    std::string Text(HTREEITEM item) const;
    // The top-level items' texts, top to bottom.
    std::vector<std::string> TopLevelTexts() const;

private:
    void SetStyleBit(DWORD bit, bool on);

    bool showLines_ = true;
    bool showButtons_ = true;
    bool showRoot_ = true;
    bool readOnly_ = false;
    int indent_ = 19;
    TSortType sortType_ = stNone;
    TImageList* images_ = nullptr;
};

}  // namespace pelorin
