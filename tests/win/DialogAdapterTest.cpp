// Platform dialogs under the skin: the window hook gives an unowned message box (and the
// program's own boxes) the skinned frame with its title buttons and adapted controls, leaves
// an owned foreign box alone, frees a dialog's provider after the dialog, and leaks nothing
// over many boxes. Framework forms without a skinned frame get one.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "adapters/dialogs/vlDialogChildWnd.h"
#include "adapters/dialogs/vlProvider.h"
#include "frame/sSkinProvider.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/HandleCounts.h"
#include "skin/SkinCommands.h"
#include "tests/win/MainWindowFixture.h"

using namespace wintest;

namespace {

// Runs `inspect` on the box titled `caption` once it shows, from a timer of the thread while
// `show` runs the box's modal loop; answers what `show` answered.
struct BoxWatch {
  static inline std::function<void(HWND)> inspect;
  static inline std::wstring caption;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", caption.c_str());
    if (!box || !IsWindowVisible(box) || !inspect) return;
    KillTimer(nullptr, id);
    auto run = std::move(inspect);
    inspect = nullptr;
    run(box);
  }
};

int WhileBoxShows(const std::wstring& caption, const std::function<int()>& show, std::function<void(HWND)> inspect) {
  BoxWatch::caption = caption;
  BoxWatch::inspect = std::move(inspect);
  UINT_PTR timer = SetTimer(nullptr, 0, 10, &BoxWatch::Tick);
  int answer = show();
  KillTimer(nullptr, timer);
  BoxWatch::inspect = nullptr;
  return answer;
}

void CloseBox(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

bool SkinAware(HWND window) {
  return SendMessageW(window, SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0) == 1;
}

HWND ChildOfClass(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

int LiveProviders() {
  int count = 0;
  for (TvlProvider* p : dialog_hook::Providers())
    if (p) ++count;
  return count;
}

void Key(WORD key) {
  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = key;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// A window made and destroyed: the hook's destruction event sweeps the list.
void DestructionEvent() {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(window);
}

class DialogAdapterTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    OpenMainWindow();
    Pump(100);
  }
};

TEST_F(DialogAdapterTest, UnownedMessageBoxGetsTheSkinnedFrameAndAdaptedControls) {
  bool inspected = false;
  int answer = WhileBoxShows(L"Unowned box", [] { return MessageBoxW(nullptr, L"Some text", L"Unowned box", MB_OK); },
                             [&](HWND box) {
    inspected = true;
    Pump(100);
    TvlProvider* provider = dialog_hook::ProviderOf(box);
    ASSERT_NE(provider, nullptr);
    TvlDialogWnd* adapter = provider->DialogAdapter();
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(provider->Owner(), nullptr);
    EXPECT_TRUE(SkinAware(box));
    // A message box has a modal frame: frame kind 0. Its system menu style now belongs to the
    // adapter (the platform draws no buttons), which shows a close button only.
    DWORD style = adapter->OriginalStyle();
    EXPECT_TRUE(style & DS_MODALFRAME);
    EXPECT_EQ(adapter->FrameKind(), 0);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(adapter->Caption(), L"Unowned box");
    EXPECT_GT(adapter->Compositions(), 0);
    frame_geometry::FrameLayout layout = adapter->CurrentLayout();
    EXPECT_FALSE(layout.close.Empty());
    EXPECT_TRUE(layout.maximize.Empty());
    EXPECT_TRUE(layout.minimize.Empty());
    // The title band is the platform's: the client area starts below it.
    POINT client{0, 0};
    ClientToScreen(box, &client);
    RECT window;
    GetWindowRect(box, &window);
    EXPECT_EQ(layout.top, client.y - window.top);
    // The close button answers its hit code where the skin draws it.
    POINT centre{window.left + (layout.close.left + layout.close.right) / 2,
                 window.top + (layout.close.top + layout.close.bottom) / 2};
    EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCLOSE);
    // The OK button and the text are adapted; the button paints from the skin.
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(SkinAware(ok));
    auto* button = dynamic_cast<TvlBtnWnd*>(TvlMainWnd::FromWindow(ok));
    ASSERT_NE(button, nullptr);
    EXPECT_GT(button->Paints(), 0);
    HWND text = ChildOfClass(box, L"Static");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(SkinAware(text));
    EXPECT_GE(provider->ChildAdapters().size(), 2u);
    // The controls' colour answers share one brush per colour, however often they ask; the
    // text's colour is the dialog picture's where the text lies.
    HDC dc = GetDC(text);
    auto ask = [&](UINT message, HWND control) {
      return SendMessageW(box, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    };
    LRESULT first = ask(WM_CTLCOLORSTATIC, text);
    LRESULT forButton = ask(WM_CTLCOLORBTN, ok);
    LRESULT forDialog = ask(WM_CTLCOLORDLG, box);
    const size_t brushes = adapter->BrushCount();
    EXPECT_NE(first, 0);
    EXPECT_GE(brushes, 1u);
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(ask(WM_CTLCOLORSTATIC, text), first);
      EXPECT_EQ(ask(WM_CTLCOLORBTN, ok), forButton);
      EXPECT_EQ(ask(WM_CTLCOLORDLG, box), forDialog);
    }
    EXPECT_EQ(adapter->BrushCount(), brushes);
    ReleaseDC(text, dc);
    RECT t, w;
    GetWindowRect(text, &t);
    GetWindowRect(box, &w);
    LOGBRUSH brush{};
    GetObjectW(reinterpret_cast<HBRUSH>(first), sizeof(brush), &brush);
    ASSERT_NE(adapter->FrameImage(), nullptr);
    EXPECT_EQ(brush.lbColor, adapter->FrameImage()->GetPixel((t.left + t.right) / 2 - w.left, (t.top + t.bottom) / 2 - w.top) & 0xFFFFFF);
    CloseBox(box);
  });
  EXPECT_TRUE(inspected);
  EXPECT_EQ(answer, IDOK);
}

TEST_F(DialogAdapterTest, OwnedForeignMessageBoxKeepsThePlatformLook) {
  bool inspected = false;
  HWND owner = form->Handle();
  WhileBoxShows(L"Owned box", [owner] { return MessageBoxW(owner, L"Some text", L"Owned box", MB_OK); }, [&](HWND box) {
    inspected = true;
    EXPECT_EQ(dialog_hook::ProviderOf(box), nullptr);
    EXPECT_FALSE(SkinAware(box));
    EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(SkinAware(GetDlgItem(box, IDOK)));
    CloseBox(box);
  });
  EXPECT_TRUE(inspected);
}

TEST_F(DialogAdapterTest, TheProgramsOwnMessageIsSkinnedAlthoughItHasAnOwner) {
  bool inspected = false;
  WhileBoxShows(L"Program box", [] { return Application->MessageDlg(L"A question", L"Program box", MB_YESNO); },
                [&](HWND box) {
    inspected = true;
    EXPECT_NE(GetParent(box), nullptr);
    EXPECT_NE(dialog_hook::ProviderOf(box), nullptr);
    EXPECT_TRUE(SkinAware(box));
    EXPECT_TRUE(SkinAware(GetDlgItem(box, IDYES)));
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  });
  EXPECT_TRUE(inspected);
}

TEST_F(DialogAdapterTest, OpenCloseOpenLeavesNoStaleProvider) {
  HWND first = nullptr;
  WhileBoxShows(L"Box", [] { return MessageBoxW(nullptr, L"One", L"Box", MB_OK); }, [&](HWND box) {
    first = box;
    EXPECT_EQ(LiveProviders(), 1);
    CloseBox(box);
  });
  ASSERT_NE(first, nullptr);
  WhileBoxShows(L"Box", [] { return MessageBoxW(nullptr, L"Two", L"Box", MB_OK); }, [&](HWND box) {
    // The first box's provider went with the sweep at a destruction event.
    EXPECT_EQ(LiveProviders(), 1);
    TvlProvider* provider = dialog_hook::ProviderOf(box);
    ASSERT_NE(provider, nullptr);
    EXPECT_NE(provider->DialogAdapter(), nullptr);
    for (TvlProvider* p : dialog_hook::Providers()) {
      if (p) {
        EXPECT_TRUE(IsWindow(p->DialogHandle()));
      }
    }
    CloseBox(box);
  });
  DestructionEvent();
  EXPECT_EQ(LiveProviders(), 0);
  for (TvlProvider* p : dialog_hook::Providers()) EXPECT_EQ(p, nullptr);
}

TEST_F(DialogAdapterTest, ObjectCountsStayTheSameOverAHundredBoxes) {
  if (!handle_counts::kEnabled) GTEST_SKIP() << "object counters are off in this build";
  auto one = [] {
    WhileBoxShows(L"Counted", [] { return MessageBoxW(nullptr, L"Counted box", L"Counted", MB_OK); }, [](HWND box) {
      RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      CloseBox(box);
    });
  };
  one();
  DestructionEvent();
  const long gdi = handle_counts::Gdi(), user = handle_counts::User();
  for (int i = 0; i < 100; ++i) one();
  DestructionEvent();
  EXPECT_EQ(handle_counts::Gdi(), gdi);
  EXPECT_EQ(handle_counts::User(), user);
  EXPECT_EQ(LiveProviders(), 0);
}

TEST_F(DialogAdapterTest, EnterAndTheSkinnedCloseButtonCloseTheBox) {
  int answer = WhileBoxShows(L"Keys", [] { return MessageBoxW(nullptr, L"Press Enter", L"Keys", MB_OKCANCEL); },
                             [](HWND box) {
    SetForegroundWindow(box);
    Pump(50);
    Key(VK_RETURN);
  });
  EXPECT_EQ(answer, IDOK);

  bool clicked = false;
  answer = WhileBoxShows(L"Mouse", [] { return MessageBoxW(nullptr, L"Click close", L"Mouse", MB_OKCANCEL); },
                         [&](HWND box) {
    SetForegroundWindow(box);
    Pump(50);
    TvlProvider* provider = dialog_hook::ProviderOf(box);
    ASSERT_NE(provider, nullptr);
    frame_geometry::FrameLayout layout = provider->DialogAdapter()->CurrentLayout();
    RECT window;
    GetWindowRect(box, &window);
    int x = window.left + (layout.close.left + layout.close.right) / 2;
    int y = window.top + (layout.close.top + layout.close.bottom) / 2;
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    Pump(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(50);
    EXPECT_EQ(provider->DialogAdapter()->HotButton(), HTCLOSE);
    SendMouse(MOUSEEVENTF_LEFTUP);
    clicked = true;
  });
  EXPECT_TRUE(clicked);
  EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(DialogAdapterTest, FrameworkFormWithoutFrameGetsAProviderThatGoesWithIt) {
  ComponentPtr<TForm> plain(new TForm(nullptr));
  plain->SetBounds(100, 100, 300, 200);
  plain->Show();
  Pump(150);
  SetForegroundWindow(plain->Handle());
  Pump(100);
  TvlProvider* provider = nullptr;
  for (TvlProvider* p : dialog_hook::Providers())
    if (p && p->Owner() == plain.get()) provider = p;
  ASSERT_NE(provider, nullptr);
  ASSERT_NE(provider->FormProvider(), nullptr);
  EXPECT_TRUE(provider->FormProvider()->FrameSkinned());
  EXPECT_FALSE(provider->FormProvider()->MakeSkinMenu());
  plain.reset();
  for (TvlProvider* p : dialog_hook::Providers()) EXPECT_NE(p, provider);

  // A form tagged -98 is never skinned by the hook.
  ComponentPtr<TForm> tagged(new TForm(nullptr));
  tagged->SetTag(-98);
  tagged->SetBounds(100, 100, 300, 200);
  tagged->Show();
  Pump(150);
  SetForegroundWindow(tagged->Handle());
  Pump(100);
  for (TvlProvider* p : dialog_hook::Providers()) {
    if (p) {
      EXPECT_NE(p->Owner(), tagged.get());
    }
  }
}

}  // namespace
