// See Geometry.h.
#include "framework/Geometry.h"

void ArrangeAligned(Rect client, std::vector<AlignedChild>& children) {
  Rect rest = client;
  auto place = [&](TAlign align) {
    std::vector<AlignedChild*> group;
    for (auto& c : children)
      if (c.align == align) group.push_back(&c);
    std::stable_sort(group.begin(), group.end(), [align](const AlignedChild* a, const AlignedChild* b) {
      switch (align) {
        case TAlign::alTop: return a->bounds.top < b->bounds.top;
        case TAlign::alBottom: return a->bounds.bottom > b->bounds.bottom;
        case TAlign::alLeft: return a->bounds.left < b->bounds.left;
        case TAlign::alRight: return a->bounds.right > b->bounds.right;
        default: return false;
      }
    });
    for (AlignedChild* c : group) {
      int w = c->bounds.Width(), h = c->bounds.Height();
      switch (align) {
        case TAlign::alTop:
          c->bounds = Rect::FromSize(rest.left, rest.top, rest.Width(), h);
          rest.top += h;
          break;
        case TAlign::alBottom:
          c->bounds = Rect::FromSize(rest.left, rest.bottom - h, rest.Width(), h);
          rest.bottom -= h;
          break;
        case TAlign::alLeft:
          c->bounds = Rect::FromSize(rest.left, rest.top, w, rest.Height());
          rest.left += w;
          break;
        case TAlign::alRight:
          c->bounds = Rect::FromSize(rest.right - w, rest.top, w, rest.Height());
          rest.right -= w;
          break;
        case TAlign::alClient:
          c->bounds = rest;
          break;
        case TAlign::alNone:
          break;
      }
      if (c->bounds.right < c->bounds.left) c->bounds.right = c->bounds.left;
      if (c->bounds.bottom < c->bounds.top) c->bounds.bottom = c->bounds.top;
    }
  };
  place(TAlign::alTop);
  place(TAlign::alBottom);
  place(TAlign::alLeft);
  place(TAlign::alRight);
  place(TAlign::alClient);
}
