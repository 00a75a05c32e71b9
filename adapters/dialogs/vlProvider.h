// The window hook's providers. While a skin is in force, the skin manager's per-thread window
// hook reports window creation, activation and destruction here. A framework form without a
// skinned frame of its own gets a TvlProvider (owned by the form) that gives it a
// TsSkinProvider; a platform dialog ("#32770") that the program may skin gets a TvlProvider
// without owner, which attaches a TvlDialogWnd to the dialog and adapters to its controls,
// chosen by their class names (DialogRules). The hook's list holds the providers in creation
// order; the slot of a freed provider holds nothing, and the destruction sweep frees the
// providers whose dialogs are gone.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "adapters/dialogs/vlDialogWnd.h"
#include "adapters/vlMainWnd.h"
#include "framework/Component.h"

class TForm;
class TsSkinProvider;

class TvlProvider : public TComponent {
 public:
  // `owner`: the form it serves, or nullptr for a platform dialog.
  explicit TvlProvider(TComponent* owner);
  ~TvlProvider() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  HWND DialogHandle() const { return dialog_; }
  TvlDialogWnd* DialogAdapter() const { return dialogAdapter_.get(); }
  const std::vector<std::unique_ptr<TvlMainWnd>>& ChildAdapters() const { return children_; }
  TsSkinProvider* FormProvider() const { return formProvider_; }

  // Attaches the dialog adapter and the adapters of the dialog's controls; false when the
  // controls could not be examined.
  bool InitDialog(HWND dialog);
  // Adapts every child window below `window` (grandchildren before their parent).
  bool AdaptChildren(HWND window);
  void AdaptChild(HWND window);
  // Gives a framework form a skinned frame of its own.
  void GiveFormProvider(TForm* form);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  HWND dialog_ = nullptr;
  std::unique_ptr<TvlDialogWnd> dialogAdapter_;
  std::vector<std::unique_ptr<TvlMainWnd>> children_;
  TsSkinProvider* formProvider_ = nullptr;  // owned by the form
};

namespace dialog_hook {

// Connects the skin manager's window hook to the providers (once per process).
void Install();
// The hook's list; freed slots hold nullptr.
const std::vector<TvlProvider*>& Providers();
// The live provider of a top-level window, or nullptr.
TvlProvider* ProviderOf(HWND window);
// Decides whether and how a top-level window is skinned; true when a provider was made.
bool AdaptWindow(HWND window);
// Frees every provider whose dialog adapter has let its dialog go.
void Sweep();
// Frees every provider without owner (the hook is removed).
void FreeAll();

}  // namespace dialog_hook
