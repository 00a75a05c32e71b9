// See BackgroundExchange.h.
#include "paint/BackgroundExchange.h"

#include "framework/Form.h"
#include "framework/Graphics.h"
#include "paint/sCommonData.h"
#include "skin/SkinCommands.h"
#include "skin/sSkinManager.h"

namespace {

LRESULT Ask(TWinControl* control, uint16_t command, LPARAM parameter = 0) {
  if (control->HandleAllocated())
    return SendMessageW(control->Handle(), SM_LACQUERCMD, SkinCommandParam(command), parameter);
  return control->Perform(SM_LACQUERCMD, SkinCommandParam(command), parameter);
}

}  // namespace

// See BackgroundExchange.h; the skinned frame answers its children with this colour, too.
TColor FormColor(TWinControl* form) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (manager && manager->Active() && dynamic_cast<TForm*>(form)) {
    int index = manager->SectionIndexOf("FORM");
    if (manager->IsValidSection(index)) return PlainColor(manager->Skin().Sections[static_cast<size_t>(index)].Color);
    return PlainColor(manager->GlobalColor());
  }
  return PlainColor(form->Color());
}

TsBackgroundRef ToBackgroundRef(const TsBackgroundRequest& request) {
  if (request.Kind == 2 && request.Bitmap) return BackgroundFromBitmap(*request.Bitmap, request.OffsetX, request.OffsetY);
  return {nullptr, request.OffsetX, request.OffsetY, PlainColor(request.Color), false};
}

bool IsSkinAware(TWinControl* control) { return control && Ask(control, scIsSkinAware) == 1; }

TColor ParentBackgroundColor(TControl* control) {
  TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent) return PlainColor(clBtnFace);
  if (IsSkinAware(parent)) {
    auto answer = static_cast<TColor>(Ask(parent, scGetBackgroundColor));
    if (answer != clFuchsia) return PlainColor(answer);
  }
  return FormColor(parent);
}

void FillBackgroundRequest(TsCommonData& data, TsBackgroundRequest& request, bool hot) {
  TControl* control = data.Control();
  const TsGeneralData* s = data.Section();
  if (!data.IsSkinned() || data.CustomColor() || !s) {
    request.Kind = 1;
    request.Color = control ? PlainColor(control->Color()) : PlainColor(clBtnFace);
    return;
  }
  int transparency = hot ? s->HotTransparency : s->Transparency;
  int gradient = hot ? s->HotGradientPercent : s->GradientPercent;
  int image = hot ? s->HotImagePercent : s->ImagePercent;
  bool hasCache = static_cast<bool>(data.Cache) && !data.Cache.Pixels().Empty();
  if (transparency == 0) {
    if (gradient <= 0 && image < 1) {
      request.Kind = 1;
      request.Color = data.BackgroundColor(hot);
      if (request.DrawNow && request.DC) {
        UniqueBrush brush(CreateSolidBrush(ColorToRGB(request.Color)));
        FillRect(request.DC, &request.Area, brush.get());
      }
      return;
    }
    if (!hasCache) {
      request.Kind = 1;
      request.Color = clFuchsia;
      return;
    }
  } else if (transparency >= 100) {
    TsSkinManager* manager = data.SkinManager();
    bool thin = true;
    if (manager->IsValidItem(data.BorderItem)) {
      const TsMaskData& item = manager->Skin().Items[static_cast<size_t>(data.BorderItem)];
      thin = item.WL + item.WR <= 24 && item.WT + item.WB < 25;
    }
    if (thin) {
      // Nothing of this element shows: the request goes on to its own parent.
      TWinControl* parent = control ? control->Parent() : nullptr;
      if (parent) {
        RequestParentBackground(request, parent, request.DrawNow);
        request.OffsetX += control->Left();
        request.OffsetY += control->Top();
      } else if (HWND window = data.Window(); window && GetParent(window)) {
        RECT r;
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        RequestParentBackground(request, GetParent(window), request.DrawNow);
        request.OffsetX += r.left;
        request.OffsetY += r.top;
      } else {
        request.Kind = 1;
        request.Color = PlainColor(manager->GlobalColor());
      }
      return;
    }
    if (!hasCache) {
      request.Kind = 1;
      request.Color = ParentBackgroundColor(control);
      return;
    }
  } else if (!hasCache) {
    request.Kind = 1;
    request.Color = clFuchsia;
    return;
  }
  request.Kind = 2;
  if (request.DrawNow && request.DC) {
    UniqueMemoryDc memory(CreateCompatibleDC(request.DC));
    SelectedObject selected(memory.get(), data.Cache.Handle());
    const RECT& a = request.Area;
    BitBlt(request.DC, a.left, a.top, a.right - a.left, a.bottom - a.top, memory.get(), request.OffsetX + a.left,
           request.OffsetY + a.top, SRCCOPY);
  } else {
    request.Bitmap = &data.Cache.Pixels();
    request.OffsetX = 0;
    request.OffsetY = 0;
  }
}

void RequestParentBackground(TsBackgroundRequest& request, TWinControl* parent, bool drawNow) {
  request.Kind = 0;
  request.DrawNow = drawNow;
  if (!parent) {
    request.Kind = 1;
    request.Color = PlainColor(clBtnFace);
    return;
  }
  Ask(parent, scFillBackgroundInfo, reinterpret_cast<LPARAM>(&request));
  if (request.Kind != 0) return;
  request.Kind = 1;
  request.Color = FormColor(parent);
  if (IsSkinAware(parent)) {
    auto answer = static_cast<TColor>(Ask(parent, scGetBackgroundColor));
    if (answer != 0) request.Color = PlainColor(answer);
  }
}

void RequestParentBackground(TsBackgroundRequest& request, HWND parent, bool drawNow) {
  if (TWinControl* control = TWinControl::FromHandle(parent)) {
    RequestParentBackground(request, control, drawNow);
    return;
  }
  request.Kind = 0;
  request.DrawNow = drawNow;
  SendMessageW(parent, SM_LACQUERCMD, SkinCommandParam(scFillBackgroundInfo), reinterpret_cast<LPARAM>(&request));
  if (request.Kind != 0) return;
  request.Kind = 1;
  auto answer = static_cast<TColor>(SendMessageW(parent, SM_LACQUERCMD, SkinCommandParam(scGetBackgroundColor), 0));
  request.Color = answer != 0 ? PlainColor(answer) : static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
}

TsBackgroundRef ParentBackgroundOf(TControl* control, TsBackgroundRequest& request) {
  request = TsBackgroundRequest{};
  RequestParentBackground(request, control->Parent(), false);
  return ToBackgroundRef(request);
}
