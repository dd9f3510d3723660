// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a control tree from an XML layout (format: resources/skin/README.md).
//
// The layout is given as an identifier of the resource index ("XML_MAIN"), a file relative
// to the skin folder (either separator), or XML text starting with '<'. A <Window> root
// carries window attributes and the <Font>, <Default>, <Style> and <Include> elements;
// its first control element is the root of the tree. Elements become controls through
// the control factory first, then the callback; an element neither knows is left out with
// everything inside it. Parsed files are cached until they change on disk.
#include <string>
#include <string_view>

namespace pugi {
class xml_node;
}

namespace ui {

class CControlUI;
class CContainerUI;
class CPaintManagerUI;
class IDialogBuilderCallback;

class CDialogBuilder {
public:
    // The root control of the layout (owned by the caller until attached or added), or null.
    // With `parent`, the root is added to it. Fonts, styles and window attributes go to
    // `manager` when given.
    CControlUI* Create(std::string_view xml, IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CContainerUI* parent = nullptr);
    // Why the last Create returned null (or what it left out).
    const std::string& GetLastError() const { return m_lastError; }

    static void ClearCache();

private:
    void ParseWindow(const pugi::xml_node& node);
    void ParseFont(const pugi::xml_node& node);
    void ParseDefault(const pugi::xml_node& node);
    void ParseStyle(const pugi::xml_node& node);
    void ParseInclude(const pugi::xml_node& node, CContainerUI* parent);
    CControlUI* ParseControl(const pugi::xml_node& node, CContainerUI* parent);
    // Parses `node`'s element children into `parent`; returns the first control made.
    CControlUI* ParseChildren(const pugi::xml_node& node, CContainerUI* parent);

    IDialogBuilderCallback* m_callback = nullptr;
    CPaintManagerUI* m_manager = nullptr;
    std::string m_lastError;
    int m_includeDepth = 0;
};

}  // namespace ui
