// TTreeView over the common controls' tree view (ANSI messages), with a sunken edge.
// Style properties map to TVS_ bits changed on the live window.
#include "ui/TreeView.h"

#include "core/Exception.h"
#include "ui/CommonControls.h"
#include "ui/ImageList.h"

namespace pelorin {

namespace {

const char* TreeViewClass() {
    InitCommonControlClasses(ICC_TREEVIEW_CLASSES);
    return WC_TREEVIEWA;
}

}  // namespace

TTreeView::TTreeView(TForm& parent, const Bounds& bounds)
    : TControl(parent, TreeViewClass(), WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS,
               bounds) {
    const LONG_PTR exStyle = ::GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
    ::SetWindowLongPtrA(Handle(), GWL_EXSTYLE, exStyle | WS_EX_CLIENTEDGE);
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
}

void TTreeView::SetStyleBit(DWORD bit, bool on) {
    const LONG_PTR style = ::GetWindowLongPtrA(Handle(), GWL_STYLE);
    ::SetWindowLongPtrA(Handle(), GWL_STYLE, on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit)));
    Repaint();
}

void TTreeView::SetShowLines(bool show) {
    showLines_ = show;
    SetStyleBit(TVS_HASLINES, show);
}

void TTreeView::SetShowButtons(bool show) {
    showButtons_ = show;
    SetStyleBit(TVS_HASBUTTONS, show);
}

void TTreeView::SetShowRoot(bool show) {
    showRoot_ = show;
    SetStyleBit(TVS_LINESATROOT, show);
}

void TTreeView::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    SetStyleBit(TVS_EDITLABELS, !readOnly);
}

void TTreeView::SetIndent(int indent) {
    indent_ = indent;
    ::SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
    Repaint();
}

void TTreeView::SetSortType(TSortType sortType) {
    sortType_ = sortType;
    if (sortType == stText) ::SendMessageA(Handle(), TVM_SORTCHILDREN, TRUE, reinterpret_cast<LPARAM>(TVI_ROOT));
    Repaint();
}

void TTreeView::SetImages(TImageList* images) {
    images_ = images;
    ::SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
    Repaint();
}

HTREEITEM TTreeView::Add(HTREEITEM parent, const std::string& text, int imageIndex) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = sortType_ == stText ? TVI_SORT : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = imageIndex;
    insert.item.iSelectedImage = imageIndex;
    const auto item =
        reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item) throw Exception("Cannot add an item to a tree view");
    return item;
}

void TTreeView::Clear() { ::SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

int TTreeView::Count() const { return static_cast<int>(::SendMessageA(Handle(), TVM_GETCOUNT, 0, 0)); }

HTREEITEM TTreeView::Selected() const {
    return reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TTreeView::Select(HTREEITEM item) {
    ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

std::string TTreeView::Text(HTREEITEM item) const {
    char text[MAX_PATH] = {};
    TVITEMA query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    if (!item || !::SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return std::string();
    return text;
}

std::vector<std::string> TTreeView::TopLevelTexts() const {
    std::vector<std::string> texts;
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        texts.push_back(Text(item));
        item = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return texts;
}

}  // namespace pelorin
