#pragma once
// Parameter of the view events.

#include "editing/EventParameter.h"

namespace QuillonCore {

class ViewEventParameter : public EventParameter {
  public:
    explicit ViewEventParameter(viestr* view) : mView(view) {}
    viestr* GetView() const { return mView; }

  private:
    viestr* mView;
};

}  // namespace QuillonCore
