// See DialogRules.h.
#include "adapters/dialogs/DialogRules.h"

#include <cwctype>
#include <string>

namespace dialog_rules {

namespace {

// Style values of the platform (here so the rules stay free of platform headers).
constexpr uint32_t kPopup = 0x80000000u;
constexpr uint32_t kCaption = 0x00C00000u;
constexpr uint32_t kThickFrame = 0x00040000u;
constexpr uint32_t kModalFrame = 0x80u;
constexpr uint32_t kButtonTypeMask = 0x0Fu;
constexpr uint32_t kStaticTypeMask = 0x1Fu;
constexpr uint32_t kTabOwnerDraw = 0x2000u;
constexpr uint32_t kToolBarFlat = 0x200u;

// Button types.
constexpr uint32_t kCheckBox = 2, kAutoCheckBox = 3, kRadioButton = 4, kThreeState = 5, kAutoThreeState = 6;
constexpr uint32_t kGroupBox = 7, kAutoRadioButton = 9, kOwnerDrawButton = 11;
// Static types.
constexpr uint32_t kStaticIcon = 3, kStaticGrayRect = 5, kStaticWhiteRect = 6, kStaticSimple = 11;
constexpr uint32_t kStaticOwnerDraw = 13, kStaticBitmap = 14;

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

ChildChoice Make(ChildAdapter adapter, const char* section, bool dialogMode = false, bool clearsValidateOnly = false) {
  return {adapter, section, dialogMode, clearsValidateOnly};
}

// A button's type is a value, not a set of flags: an owner-drawn button (11) holds the bits of
// a check box (3) and a command link (15) those of a group box (7).
ChildChoice ChooseButton(uint32_t style) {
  switch (style & kButtonTypeMask) {
    case kGroupBox: return Make(ChildAdapter::GroupBox, "GROUPBOX");
    case kCheckBox:
    case kAutoCheckBox:
    case kRadioButton:
    case kThreeState:
    case kAutoThreeState:
    case kAutoRadioButton: return Make(ChildAdapter::CheckBox, "CHECKBOX");
    case kOwnerDrawButton: return {};  // its owner paints it
    default: return Make(ChildAdapter::Button, "BUTTON");
  }
}

ChildChoice ChooseStatic(uint32_t style) {
  switch (style & kStaticTypeMask) {
    case kStaticIcon:
    case kStaticBitmap: return Make(ChildAdapter::Icon, "CHECKBOX");
    case kStaticOwnerDraw:
    case kStaticGrayRect:
    case kStaticWhiteRect:
    case kStaticSimple: return {};
    default: return Make(ChildAdapter::Static, "CHECKBOX");
  }
}

}  // namespace

ChildChoice ChooseChildAdapter(std::wstring_view className, uint32_t style, bool visible) {
  const std::wstring name = Lower(className);
  if (name == L"static") return ChooseStatic(style);
  if (name == L"#32770") return Make(ChildAdapter::TransPanel, "CHECKBOX");
  if (name == L"tpanel" || name == L"tsilentpaintpanel") return Make(ChildAdapter::DlgPanel, "PANEL");
  if (name == L"edit") return visible ? Make(ChildAdapter::Edit, "EDIT", true, true) : ChildChoice{};
  if (name == L"button") return ChooseButton(style);
  if (name == L"combobox") return Make(ChildAdapter::ComboBox, "COMBOBOX", true, true);
  if (name == L"combolbox") return Make(ChildAdapter::ComboList, "COMBOBOX", false, true);
  if (name == L"comboboxex32") return Make(ChildAdapter::ComboBoxEx, "COMBOBOX", false, true);
  if (name == L"scrollbar") return Make(ChildAdapter::Sizer, "CHECKBOX");
  if (name == L"systabcontrol32")
    return (style & kTabOwnerDraw) ? ChildChoice{} : Make(ChildAdapter::TabControl, "PAGECONTROL");
  if (name == L"syslistview32") return Make(ChildAdapter::ListView, "EDIT", true);
  if (name == L"msctls_updown32") return Make(ChildAdapter::Spin, "SPEEDBUTTON_SMALL");
  if (name == L"listbox") return Make(ChildAdapter::ListBox, "EDIT", true);
  if (name == L"link window" || name == L"syslink") return Make(ChildAdapter::Link, "CHECKBOX");
  if (name == L"toolbarwindow32") return Make(ChildAdapter::ToolBar, (style & kToolBarFlat) ? "BAR" : "CHECKBOX");
  if (name == L"systreeview32") return Make(ChildAdapter::TreeView, "EDIT", true);
  if (name == L"shbrowseforfolder") return Make(ChildAdapter::TransPanel, "CHECKBOX");
  return {};
}

int FrameKind(uint32_t style) {
  if ((style & kPopup) && (style & kCaption) != kCaption) return kFrameNoCaption;
  if (style & kThickFrame) return kFrameSizeable;
  if (style & kModalFrame) return kFrameModal;
  return kFrameSizeable;
}

bool UsesSmallButtons(int frameKind, bool skinHasSmallClose) { return frameKind != kFrameSizeable && skinHasSmallClose; }

}  // namespace dialog_rules
