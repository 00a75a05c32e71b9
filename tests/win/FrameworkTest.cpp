// The class framework on real windows: the message hook chain, notification reflection to the
// child control's object, the error display, alignment and tab order.
#include <gtest/gtest.h>

#include "controls/sButton.h"
#include "controls/sPanel.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "tests/win/WinTestSupport.h"

using namespace wintest;

namespace {

class FrameworkTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordedErrors().clear();
    form.reset(new TForm(nullptr));
    form->SetBounds(50, 50, 400, 300);
    form->Show();
    Pump();
  }
  // A control of the form, placed and coloured.
  template <class Control>
  Control* Place(int left, int top, int width, int height, COLORREF color) {
    auto* control = new Control(form.get());
    control->SetParent(form.get());
    control->SetBounds(left, top, width, height);
    control->SetColor(static_cast<TColor>(color));
    return control;
  }
  ComponentPtr<TForm> form;
};

}  // namespace

namespace {

// A custom control in one colour that, when told, has another window paint itself in the
// middle of its own paint.
class NestingControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  HWND paintInside = nullptr;

 protected:
  void Paint(HDC dc) override {
    TCustomControl::Paint(dc);
    if (paintInside) {
      InvalidateRect(paintInside, nullptr, FALSE);
      UpdateWindow(paintInside);
    }
  }
};

COLORREF ScreenColorAt(TWinControl* control) {
  WindowDc screen(nullptr);
  POINT centre{control->Width() / 2, control->Height() / 2};
  ClientToScreen(control->Handle(), &centre);
  return GetPixel(screen.get(), centre.x, centre.y);
}

}  // namespace

TEST_F(FrameworkTest, ACustomControlPaintedInsideAnothersPaintLeavesBothRight) {
  // Custom controls paint off screen into a buffer the thread keeps: a paint that runs inside
  // another one must not draw into the buffer the outer paint is still using.
  auto* outer = Place<NestingControl>(10, 10, 200, 120, RGB(200, 30, 30));
  auto* inner = Place<NestingControl>(220, 10, 150, 150, RGB(30, 30, 200));  // the larger one: the buffer grows for it
  Pump();
  outer->paintInside = inner->Handle();
  InvalidateRect(outer->Handle(), nullptr, FALSE);
  UpdateWindow(outer->Handle());
  Pump(20);
  EXPECT_EQ(ScreenColorAt(outer), RGB(200, 30, 30));
  EXPECT_EQ(ScreenColorAt(inner), RGB(30, 30, 200));
}

namespace {

// A custom control with the platform's one-pixel border around its client area.
class FramedControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void CreateParams(CreateParamsRecord& params) override {
    TCustomControl::CreateParams(params);
    params.style |= WS_BORDER;
  }
};

}  // namespace

TEST_F(FrameworkTest, FramesArePaintedWhereAWindowHasOneAndFormsKeepTheirIcon) {
  // Windows without a frame skip the default frame painting; one with a border still gets it.
  auto* framed = Place<FramedControl>(20, 20, 120, 80, RGB(255, 255, 255));
  auto* plain = Place<NestingControl>(160, 20, 120, 80, RGB(30, 160, 30));
  Pump(20);
  RECT window;
  GetWindowRect(framed->Handle(), &window);
  WindowDc screen(nullptr);
  const int middle = (window.top + window.bottom) / 2;
  EXPECT_EQ(GetPixel(screen.get(), window.left, middle), GetSysColor(COLOR_WINDOWFRAME)) << "the border";
  EXPECT_EQ(GetPixel(screen.get(), window.left + 2, middle), RGB(255, 255, 255)) << "the client area";
  GetWindowRect(plain->Handle(), &window);
  EXPECT_EQ(GetPixel(screen.get(), window.left, (window.top + window.bottom) / 2), RGB(30, 160, 30));
  // A window of its own shows the program's icon (the taskbar takes the class icon), and its
  // title the small picture the platform took from the same resource for the class.
  EXPECT_NE(GetClassLongPtrW(form->Handle(), GCLP_HICON), 0);
  auto small = reinterpret_cast<HICON>(GetClassLongPtrW(form->Handle(), GCLP_HICONSM));
  ASSERT_NE(small, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(small, &info));
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof(mask), &mask);
  EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(FrameworkTest, HooksRunNewestFirstAndLeaveInAnyOrder) {
  std::vector<std::string> log;
  auto hook = [&](const char* name) {
    return [&log, name](TMessage& m, const TControl::NextHandler& next) {
      if (m.Msg == WM_APP) log.push_back(name);
      next(m);
    };
  };
  int a = form->AddMessageHook(hook("a"));
  int b = form->AddMessageHook(hook("b"));
  int c = form->AddMessageHook(hook("c"));
  form->Perform(WM_APP);
  EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a"}));
  log.clear();
  form->RemoveMessageHook(b);  // the middle one leaves first
  form->Perform(WM_APP);
  EXPECT_EQ(log, (std::vector<std::string>{"c", "a"}));
  form->RemoveMessageHook(c);
  form->RemoveMessageHook(a);
  log.clear();
  form->Perform(WM_APP);
  EXPECT_TRUE(log.empty());
}

TEST_F(FrameworkTest, HookRemovedWhileItRunsIsSkippedFromThenOn) {
  std::vector<std::string> log;
  int second = 0;
  int first = form->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == WM_APP) log.push_back("first");
    next(m);
  });
  second = form->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == WM_APP) {
      log.push_back("second");
      form->RemoveMessageHook(second);
    }
    next(m);
  });
  int third = form->AddMessageHook([&](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == WM_APP) {
      log.push_back("third");
      form->RemoveMessageHook(first);  // a hook further down leaves before it runs
    }
    next(m);
  });
  form->Perform(WM_APP);
  EXPECT_EQ(log, (std::vector<std::string>{"third", "second"}));
  log.clear();
  form->Perform(WM_APP);
  EXPECT_EQ(log, (std::vector<std::string>{"third"}));
  form->RemoveMessageHook(third);
}

TEST_F(FrameworkTest, HookCanAnswerWithoutCallingTheRest) {
  int hook = form->AddMessageHook([](TMessage& m, const TControl::NextHandler& next) {
    if (m.Msg == WM_APP + 1) {
      m.Result = 42;
      return;
    }
    next(m);
  });
  EXPECT_EQ(SendMessageW(form->Handle(), WM_APP + 1, 0, 0), 42);
  form->RemoveMessageHook(hook);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_APP + 1, 0, 0), 0);
}

TEST_F(FrameworkTest, ButtonNotificationsReachTheButtonObject) {
  auto* panel = new TsPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 200, 100);
  auto* button = new TsButton(form.get());
  button->SetParent(panel);
  button->SetBounds(10, 10, 80, 25);
  int clicks = 0;
  button->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, button);
    ++clicks;
  };
  // BM_CLICK makes the native button send WM_COMMAND to its parent, the panel, which hands it
  // back to the button's object.
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  ClickAt(button->Handle(), 40, 12);
  EXPECT_EQ(clicks, 2);
  button->SetEnabled(false);
  ClickAt(button->Handle(), 40, 12);
  EXPECT_EQ(clicks, 2);
}

TEST_F(FrameworkTest, ErrorInAHandlerIsShownAndTheWindowKeepsWorking) {
  auto* button = new TsButton(form.get());
  button->SetParent(form.get());
  button->SetBounds(10, 10, 80, 25);
  int clicks = 0;
  button->OnClick = [&](TObject*) {
    ++clicks;
    throw Exception(L"The filter file is locked");
  };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(RecordedErrors(), (std::vector<std::wstring>{L"The filter file is locked", L"The filter file is locked"}));
  EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(FrameworkTest, AlignedChildrenFollowTheClientArea) {
  auto* bottom = new TsPanel(form.get());
  bottom->SetParent(form.get());
  bottom->SetAlign(TAlign::alBottom);
  bottom->SetHeight(41);
  auto* left = new TsPanel(form.get());
  left->SetParent(form.get());
  left->SetAlign(TAlign::alLeft);
  left->SetWidth(120);
  auto* rest = new TsPanel(form.get());
  rest->SetParent(form.get());
  rest->SetAlign(TAlign::alClient);
  Pump();
  Rect client = form->ClientRect();
  EXPECT_EQ(bottom->BoundsRect(), Rect::FromSize(0, client.Height() - 41, client.Width(), 41));
  EXPECT_EQ(left->BoundsRect(), Rect::FromSize(0, 0, 120, client.Height() - 41));
  EXPECT_EQ(rest->BoundsRect(), Rect(120, 0, client.Width(), client.Height() - 41));
  // The window's real child rectangles agree.
  RECT r;
  GetWindowRect(rest->Handle(), &r);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 120);
  form->SetBounds(form->Left(), form->Top(), form->Width() + 50, form->Height() + 20);
  Pump();
  EXPECT_EQ(rest->Width(), form->ClientWidth() - 120);
  EXPECT_EQ(bottom->Top(), form->ClientHeight() - 41);
}

TEST_F(FrameworkTest, TabMovesThroughTabStopsInTabOrder) {
  auto* first = new TsButton(form.get());
  auto* second = new TsButton(form.get());
  auto* third = new TsButton(form.get());
  for (TsButton* b : {first, second, third}) b->SetParent(form.get());
  third->SetTabOrder(0);  // third, first, second
  EXPECT_EQ(first->TabOrder(), 1);
  third->SetFocus();
  form->SelectNext(third, true);
  EXPECT_TRUE(first->Focused());
  form->SelectNext(first, true);
  EXPECT_TRUE(second->Focused());
  form->SelectNext(second, true);
  EXPECT_TRUE(third->Focused());
  form->SelectNext(third, false);
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(form->ActiveControl(), second);
}

TEST_F(FrameworkTest, CloseQueryCanRefuseAndDestroyEventSeesTheComponents) {
  bool allow = false;
  form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  int hidden = 0;
  form->OnHide = [&](TObject*) { ++hidden; };
  form->Close();
  EXPECT_EQ(hidden, 0);
  allow = true;
  form->Close();
  EXPECT_EQ(hidden, 1);

  auto* child = new TsPanel(form.get());
  child->SetName(L"Child");
  bool sawChild = false;
  TForm* self = form.get();
  form->OnDestroy = [&](TObject*) { sawChild = self->FindComponent(L"Child") == child; };
  form.reset();
  EXPECT_TRUE(sawChild);
}
