// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/document.h"

#include <memory>
#include <vector>

namespace kestrova {

// Appends `text` as HTML: & < > and no-break spaces as references, the quotes too when
// `quotes` (attribute values, and text that must be safe anywhere), characters beyond Latin-1
// as numeric references.
void appendHtmlEscaped(QString& out, QStringView text, bool quotes);

namespace dom {
class Tree;
}

// The in-memory document: HTML parsed into a mutable tree that the report logic walks and
// changes without a browser. A fresh document is the blank page.
class HtmlDocument : public Document {
public:
    HtmlDocument();
    explicit HtmlDocument(const QString& html);
    ~HtmlDocument() override;

    ElementPtr elementById(const QString& id) const override;
    ElementList elementsByName(const QString& name) const override;
    ElementList elementsByTagName(const QString& tagName) const override;
    int frameCount() const override;
    DocumentPtr frame(int index) const override;
    ElementPtr documentElement() const override;
    StyleSheetPtr createStyleSheet() override;

    // The mark-up of the whole page (the <html> element).
    QString outerHTML() const;

    // The documents of the page's frames, in frame order (an in-memory page loads none).
    void setFrames(std::vector<DocumentPtr> frames);

private:
    std::shared_ptr<dom::Tree> m_tree;
    std::vector<DocumentPtr> m_frames;
};

}  // namespace kestrova
