// See vlProvider.h.
#include "adapters/dialogs/vlProvider.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "adapters/dialogs/DialogRules.h"
#include "adapters/dialogs/vlDialogChildWnd.h"
#include "adapters/dialogs/vlMnuWnd.h"
#include "frame/sSkinProvider.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

// A framework form that the hook must never skin.
constexpr int kNeverSkinnedTag = -98;
constexpr ATOM kDialogAtom = 32770;
constexpr ATOM kMenuAtom = 32768;

std::vector<TvlProvider*>& List() {
  static std::vector<TvlProvider*> providers;
  return providers;
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool IsSkinAware(HWND window) {
  return SendMessageW(window, SM_LACQUERCMD, SkinCommandParam(scIsSkinAware), 0) == 1;
}

bool ApplicationEnding() { return !Application || Application->IsDestroying(); }

// A window below `window` of the tool bar class.
bool HasToolBar(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (Lower(ClassNameOf(child)) == L"toolbarwindow32" || HasToolBar(child)) return true;
  return false;
}

// A dialog of the hook's list is on screen.
bool SkinnedDialogShowing() {
  for (TvlProvider* p : List())
    if (p && p->DialogAdapter() && !p->DialogAdapter()->Unhooked() && IsWindowVisible(p->DialogHandle())) return true;
  return false;
}

TForm* FormOfWindow(HWND window) {
  const std::vector<TForm*>& forms = TForm::AllForms();
  for (size_t k = forms.size(); k > 0; --k) {
    TForm* form = forms[k - 1];
    if (form->HandleAllocated() && form->Handle() == window) return form;
  }
  return nullptr;
}

bool HasSkinnedFrame(TForm* form) {
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<TsSkinProvider*>(form->Components(i)) || dynamic_cast<TvlProvider*>(form->Components(i))) return true;
  return false;
}

// The program's own dialogs: a message box or the folder picker opened by the program while
// it counts a modal operation. They are skinned although they have an owner window.
bool OpenedByTheProgram() { return Application && Application->InModalOperation(); }

void OnCreate(HWND window, const CBT_CREATEWNDW& data) {
  const CREATESTRUCTW* create = data.lpcs;
  if (!create) return;
  auto atom = reinterpret_cast<ULONG_PTR>(create->lpszClass);
  if (HIWORD(atom) == 0) {
    if (LOWORD(atom) == kDialogAtom) dialog_hook::AdaptWindow(window);
    else if (LOWORD(atom) == kMenuAtom) menu_windows::Adapt(window);
    return;
  }
  if (std::wstring(create->lpszClass) == L"#32768") {
    menu_windows::Adapt(window);
    return;
  }
  if (std::wstring(create->lpszClass) == L"TPUtilWindow" || create->style == 0 || create->dwExStyle == 0) return;
  TForm* mainForm = Application ? Application->MainForm() : nullptr;
  if (mainForm && (!mainForm->HandleAllocated() || mainForm->Handle() == window)) return;
  if (GetParent(window)) return;
  dialog_hook::AdaptWindow(window);
}

void OnHookEvent(int code, WPARAM wParam, LPARAM lParam) {
  if (ApplicationEnding()) return;
  auto window = reinterpret_cast<HWND>(wParam);
  switch (code) {
    case HCBT_CREATEWND: OnCreate(window, *reinterpret_cast<CBT_CREATEWNDW*>(lParam)); break;
    case HCBT_ACTIVATE: dialog_hook::AdaptWindow(window); break;
    case HCBT_DESTROYWND: dialog_hook::Sweep(); break;
    default: break;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------

const ClassInfo& TvlProvider::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TvlProvider>(L"TvlProvider", &TComponent::StaticClass()).Build());
  return info;
}

TvlProvider::TvlProvider(TComponent* owner) : TComponent(owner) { List().push_back(this); }

TvlProvider::~TvlProvider() {
  // Children first: they may still ask the dialog adapter for colours while they let go.
  children_.clear();
  dialogAdapter_.reset();
  if (formProvider_) formProvider_->RemoveFreeNotification(this);
  for (TvlProvider*& slot : List())
    if (slot == this) slot = nullptr;
}

void TvlProvider::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == formProvider_) formProvider_ = nullptr;
}

void TvlProvider::GiveFormProvider(TForm* form) {
  auto* provider = new TsSkinProvider(form);
  provider->SetMakeSkinMenu(false);
  formProvider_ = provider;
  provider->FreeNotification(this);
}

bool TvlProvider::InitDialog(HWND dialog) {
  dialog_ = dialog;
  children_.clear();
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !manager->Active()) return true;
  // Flat scroll bars would bypass the adapters.
  if (HMODULE controls = GetModuleHandleW(L"comctl32.dll")) {
    using Uninitialize = BOOL(WINAPI*)(HWND);
    if (auto uninit = reinterpret_cast<Uninitialize>(reinterpret_cast<void*>(GetProcAddress(controls, "UninitializeFlatSB"))))
      uninit(dialog);
  }
  dialogAdapter_ = std::make_unique<TvlDialogWnd>(dialog, this);
  if (!dialogAdapter_->Attach()) {
    dialogAdapter_.reset();
    return false;
  }
  if (!AdaptChildren(dialog)) {
    for (TvlProvider*& slot : List())
      if (slot == this) slot = nullptr;
    return false;
  }
  dialogAdapter_->Initialize();
  SendMessageW(dialog, SM_LACQUERCMD, SkinCommandParam(scSkinApplied), reinterpret_cast<LPARAM>(manager));
  return true;
}

bool TvlProvider::AdaptChildren(HWND window) {
  if (!IsWindow(window)) return false;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    AdaptChildren(child);
    if (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) AdaptChild(child);
  }
  return true;
}

void TvlProvider::AdaptChild(HWND window) {
  if (IsSkinAware(window)) return;
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  dialog_rules::ChildChoice choice = dialog_rules::ChooseChildAdapter(ClassNameOf(window), style, IsWindowVisible(window));
  if (choice.adapter == dialog_rules::ChildAdapter::None) return;
  if (choice.clearsValidateOnly && dialogAdapter_) dialogAdapter_->ClearValidateOnly();
  std::unique_ptr<TvlMainWnd> adapter = MakeDialogChildAdapter(window, choice, dialogAdapter_.get());
  if (!adapter || !adapter->Attach()) return;
  // A list emptied of adapters whose windows are gone, so that it does not grow with pages.
  children_.erase(std::remove_if(children_.begin(), children_.end(), [](const auto& a) { return a->Unhooked(); }),
                  children_.end());
  children_.push_back(std::move(adapter));
}

// ---------------------------------------------------------------------------------------------

namespace dialog_hook {

void Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  TsSkinManagerServices& services = SkinManagerServices();
  services.windowHookEvent = [](int code, WPARAM wParam, LPARAM lParam) { OnHookEvent(code, wParam, lParam); };
  services.windowHookRemoved = [] { FreeAll(); };
}

const std::vector<TvlProvider*>& Providers() { return List(); }

TvlProvider* ProviderOf(HWND window) {
  for (TvlProvider* p : List())
    if (p && p->DialogHandle() == window) return p;
  return nullptr;
}

bool AdaptWindow(HWND window) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || ApplicationEnding() || !IsWindow(window) || IsSkinAware(window) || ProviderOf(window)) return false;
  const std::wstring className = ClassNameOf(window);
  const TvlSkinningRules rules = manager->SkinningRules();
  if (TForm* form = FormOfWindow(window)) {
    if (form->IsLoading() || form->IsDestroying()) return false;
    if (form->Tag() == kNeverSkinnedTag || className == L"TApplication" || className == L"TQRStandardPreview" ||
        className == L"TfcPopup" || HasSkinnedFrame(form))
      return false;
    TvlSkinningRule rule = form->ClassName() == L"TMessageForm" ? TvlSkinningRule::srStdDialogs : TvlSkinningRule::srStdForms;
    if (!rules.Has(rule)) return false;
    auto* provider = new TvlProvider(form);
    provider->GiveFormProvider(form);
    return true;
  }
  if (className != L"#32770" || !rules.Has(TvlSkinningRule::srStdDialogs)) return false;
  // An owned dialog keeps the platform's look, unless the program opened it itself.
  if (GetParent(window) && !OpenedByTheProgram()) return false;
  // A dialog opened from a skinned dialog stays as it is, unless it carries a tool bar.
  if (SkinnedDialogShowing() && !HasToolBar(window)) return false;
  auto* provider = new TvlProvider(nullptr);
  if (!provider->InitDialog(window)) {
    TComponent::Free(provider);
    return false;
  }
  return true;
}

void Sweep() {
  std::vector<TvlProvider*>& list = List();
  for (TvlProvider*& slot : list) {
    TvlProvider* p = slot;
    if (!p || p->Owner()) continue;
    bool gone = !p->DialogAdapter() || (p->DialogAdapter()->Unhooked() && !IsWindow(p->DialogHandle()));
    if (gone) TComponent::Free(p);  // empties its slot
  }
  list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

void FreeAll() {
  std::vector<TvlProvider*>& list = List();
  for (TvlProvider* p : std::vector<TvlProvider*>(list))
    if (p && !p->Owner()) TComponent::Free(p);
  list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

}  // namespace dialog_hook
