// See OvFileListShortCuts.h.
#include "filelist/OvFileListShortCuts.h"

TShortCut ShortCutOf(uint16_t virtualKey, bool shift, bool ctrl, bool alt) {
  TShortCut s = static_cast<TShortCut>(virtualKey & 0xFF);
  if (shift) s |= scShift;
  if (ctrl) s |= scCtrl;
  if (alt) s |= scAlt;
  return s;
}

namespace {

const TypeInfo& ActionType() {
  static const TypeInfo t = MakeEnumType(
      L"TOvListViewAction", {L"vaCopy", L"vaPaste", L"vaCut", L"vaOpen", L"vaView", L"vaNewFolder", L"vaSelectAll",
                             L"vaDelete", L"vaBack", L"vaRename", L"vaFindFile", L"vaRefresh"});
  return t;
}

const TypeInfo& ActionsType() {
  static const TypeInfo t = MakeSetType(L"TOvListViewActions", ActionType());
  return t;
}

}  // namespace

const ClassInfo& TOvFileListShortCuts::StaticClass() {
  using S = TOvFileListShortCuts;
  auto builder = ClassBuilder<S>(L"TOvFileListShortCuts", &TPersistent::StaticClass());
  static const wchar_t* names[] = {L"scCopy", L"scPaste",  L"scCut",    L"scOpen",   L"scView",     L"scNewFolder",
                                   L"scSelectAll", L"scDelete", L"scBack", L"scRename", L"scFindFile", L"scRefresh"};
  ClassInfo info = builder.Ordinal(L"Actions", ActionsType(), &S::Actions, &S::SetActions).Build();
  for (int i = 0; i < 12; ++i) {
    PropInfo p;
    p.name = names[i];
    p.type = &TypeInfo::Integer();
    auto action = static_cast<TOvListViewAction>(i);
    p.getOrdinal = [action](TObject& o) -> int64_t { return static_cast<S&>(o).Get(action); };
    p.setOrdinal = [action](TObject& o, int64_t v) { static_cast<S&>(o).Set(action, static_cast<TShortCut>(v)); };
    info.ownProperties.push_back(std::move(p));
  }
  static const ClassInfo& registered = RegisterClassInfo(std::move(info));
  return registered;
}

TOvFileListShortCuts::TOvFileListShortCuts()
    : keys_{16451, 16470, 16472, 16463, 16454, 16462, 16449, 46, 8, 113, 114, 116},
      actions_(TOvListViewActions::FromBits(0xFFF)) {}

void TOvFileListShortCuts::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TOvFileListShortCuts*>(&source)) {
    for (int i = 0; i < 12; ++i) keys_[i] = other->keys_[i];
    actions_ = other->actions_;
    return;
  }
  TPersistent::Assign(source);
}
