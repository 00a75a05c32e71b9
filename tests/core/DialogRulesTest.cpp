// The dialog adapter's rules: the adapter a dialog's control gets by its class name and style
// type, and a dialog's frame kind and title-button set.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "adapters/dialogs/DialogRules.h"

using namespace dialog_rules;

namespace {

struct ChildCase {
  const wchar_t* className;
  uint32_t style;
  bool visible;
  ChildAdapter adapter;
  std::string section;
};

TEST(DialogRules, ChildAdapterByClassNameAndStyleType) {
  const ChildCase cases[] = {
      // Buttons by their type value (BS_TYPEMASK), whatever other bits they carry.
      {L"Button", 0x0, true, ChildAdapter::Button, "BUTTON"},                 // push button
      {L"BUTTON", 0x1, true, ChildAdapter::Button, "BUTTON"},                 // default push button
      {L"button", 0x50010001, true, ChildAdapter::Button, "BUTTON"},          // with window bits
      {L"Button", 0x2, true, ChildAdapter::CheckBox, "CHECKBOX"},             // check box
      {L"Button", 0x3, true, ChildAdapter::CheckBox, "CHECKBOX"},             // auto check box
      {L"Button", 0x4, true, ChildAdapter::CheckBox, "CHECKBOX"},             // radio button
      {L"Button", 0x5, true, ChildAdapter::CheckBox, "CHECKBOX"},             // three-state
      {L"Button", 0x6, true, ChildAdapter::CheckBox, "CHECKBOX"},             // auto three-state
      {L"Button", 0x9, true, ChildAdapter::CheckBox, "CHECKBOX"},             // auto radio button
      {L"Button", 0x7, true, ChildAdapter::GroupBox, "GROUPBOX"},             // group box
      {L"Button", 0xB, true, ChildAdapter::None, ""},                         // owner-drawn: holds 3's bits
      {L"Button", 0xA, true, ChildAdapter::Button, "BUTTON"},                 // push box: holds 2's bits
      {L"Button", 0xC, true, ChildAdapter::Button, "BUTTON"},                 // split button: holds 4's bits
      {L"Button", 0xF, true, ChildAdapter::Button, "BUTTON"},                 // command link: holds 7's bits
      // Statics by their type value (SS_TYPEMASK).
      {L"Static", 0x0, true, ChildAdapter::Static, "CHECKBOX"},               // left text
      {L"Static", 0x80, true, ChildAdapter::Static, "CHECKBOX"},              // with SS_NOPREFIX
      {L"Static", 0x3, true, ChildAdapter::Icon, "CHECKBOX"},                 // icon
      {L"Static", 0xE, true, ChildAdapter::Icon, "CHECKBOX"},                 // bitmap
      {L"Static", 0xD, true, ChildAdapter::None, ""},                         // owner-drawn
      {L"Static", 0x5, true, ChildAdapter::None, ""},
      {L"Static", 0x6, true, ChildAdapter::None, ""},
      {L"Static", 0xB, true, ChildAdapter::None, ""},                         // simple: holds 3's bits
      {L"Static", 0xF, true, ChildAdapter::Static, "CHECKBOX"},               // metafile: holds 3's bits
      {L"Static", 0x10, true, ChildAdapter::Static, "CHECKBOX"},              // etched line
      // The other classes.
      {L"#32770", 0, true, ChildAdapter::TransPanel, "CHECKBOX"},
      {L"TPanel", 0, true, ChildAdapter::DlgPanel, "PANEL"},
      {L"TSilentPaintPanel", 0, true, ChildAdapter::DlgPanel, "PANEL"},
      {L"Edit", 0, true, ChildAdapter::Edit, "EDIT"},
      {L"Edit", 0, false, ChildAdapter::None, ""},                            // hidden edits stay
      {L"ComboBox", 0, true, ChildAdapter::ComboBox, "COMBOBOX"},
      {L"ComboLBox", 0, true, ChildAdapter::ComboList, "COMBOBOX"},
      {L"ComboBoxEx32", 0, true, ChildAdapter::ComboBoxEx, "COMBOBOX"},
      {L"ScrollBar", 0, true, ChildAdapter::Sizer, "CHECKBOX"},
      {L"SysTabControl32", 0, true, ChildAdapter::TabControl, "PAGECONTROL"},
      {L"SysTabControl32", 0x2000, true, ChildAdapter::None, ""},
      {L"SysListView32", 0, true, ChildAdapter::ListView, "EDIT"},
      {L"msctls_updown32", 0, true, ChildAdapter::Spin, "SPEEDBUTTON_SMALL"},
      {L"ListBox", 0, true, ChildAdapter::ListBox, "EDIT"},
      {L"Link Window", 0, true, ChildAdapter::Link, "CHECKBOX"},
      {L"SysLink", 0, true, ChildAdapter::Link, "CHECKBOX"},
      {L"ToolbarWindow32", 0x200, true, ChildAdapter::ToolBar, "BAR"},
      {L"ToolbarWindow32", 0, true, ChildAdapter::ToolBar, "CHECKBOX"},
      {L"SysTreeView32", 0, true, ChildAdapter::TreeView, "EDIT"},
      {L"SHBrowseForFolder ShellNameSpace Control", 0, true, ChildAdapter::None, ""},
      {L"SHBrowseForFolder", 0, true, ChildAdapter::TransPanel, "CHECKBOX"},
      {L"msctls_progress32", 0, true, ChildAdapter::None, ""},
      {L"", 0, true, ChildAdapter::None, ""},
  };
  for (const ChildCase& c : cases) {
    ChildChoice choice = ChooseChildAdapter(c.className, c.style, c.visible);
    SCOPED_TRACE(testing::Message() << std::string(c.className, c.className + wcslen(c.className)) << " style "
                                    << std::hex << c.style);
    EXPECT_EQ(choice.adapter, c.adapter);
    EXPECT_EQ(choice.section, c.section);
  }
}

TEST(DialogRules, EditLikeChildrenWorkInDialogModeAndEndValidateOnlyPainting) {
  EXPECT_TRUE(ChooseChildAdapter(L"Edit", 0, true).dialogMode);
  EXPECT_TRUE(ChooseChildAdapter(L"Edit", 0, true).clearsValidateOnly);
  EXPECT_TRUE(ChooseChildAdapter(L"ComboBox", 0, true).clearsValidateOnly);
  EXPECT_TRUE(ChooseChildAdapter(L"ComboLBox", 0, true).clearsValidateOnly);
  EXPECT_TRUE(ChooseChildAdapter(L"ComboBoxEx32", 0, true).clearsValidateOnly);
  EXPECT_FALSE(ChooseChildAdapter(L"ListBox", 0, true).clearsValidateOnly);
  EXPECT_TRUE(ChooseChildAdapter(L"SysTreeView32", 0, true).dialogMode);
  EXPECT_FALSE(ChooseChildAdapter(L"Button", 0, true).dialogMode);
}

TEST(DialogRules, FrameKindFromTheStyle) {
  constexpr uint32_t popup = 0x80000000u, caption = 0x00C00000u, border = 0x00800000u, thick = 0x00040000u;
  constexpr uint32_t modal = 0x80u;
  struct Case {
    uint32_t style;
    int kind;
  } cases[] = {
      {popup | caption | modal, kFrameModal},        // a message box
      {popup | border | modal, kFrameNoCaption},     // half a caption is none
      {popup, kFrameNoCaption},
      {popup | caption | thick | modal, kFrameSizeable},
      {caption | thick, kFrameSizeable},
      {caption | modal, kFrameModal},
      {caption, kFrameSizeable},
      {popup | caption, kFrameSizeable},
  };
  for (const Case& c : cases) EXPECT_EQ(FrameKind(c.style), c.kind) << std::hex << c.style;
}

TEST(DialogRules, SmallTitleButtonsOnlyForFixedFramesWhenTheSkinHasThem) {
  EXPECT_TRUE(UsesSmallButtons(kFrameModal, true));
  EXPECT_TRUE(UsesSmallButtons(kFrameNoCaption, true));
  EXPECT_FALSE(UsesSmallButtons(kFrameSizeable, true));
  EXPECT_FALSE(UsesSmallButtons(kFrameModal, false));
}

}  // namespace
