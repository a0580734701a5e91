// TKRichEdit: a rich edit control whose content is defined by the rich-text source in
// RichLines; used as a formatted label and as a scrollable licence box by both wizards.
#pragma once

#include <string>

#include "ui/RichEdit.h"

namespace pelorin {

class TKRichEdit : public TCustomRichEdit {
public:
    // Empty content, although RichLines reads "None" until something else is assigned.
    TKRichEdit(TForm& parent, const Bounds& bounds);

    // The source last assigned, not what the control holds now (editing does not change it).
    const std::string& RichLines() const { return richLines_; }
    // A different source replaces the content: cleared, then streamed in as rich text (as plain
    // text with PlainText). The same source again changes nothing.
    void SetRichLines(const std::string& value);

    // The component's version; any assignment leaves "1.00".
    const std::string& Version() const { return version_; }
    void SetVersion(const std::string&) { version_ = "1.00"; }

protected:
    // The content, formatting included, survives a re-creation of the window in a buffer.
    void DestroyingWindow() override;
    void WindowCreated() override;

private:
    void Prepare();

    std::string richLines_ = "None";
    std::string version_ = "1.00";
    std::string buffer_;  // first byte the plain-text flag, then the saved content; empty between
};

}  // namespace pelorin
