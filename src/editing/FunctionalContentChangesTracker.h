#pragma once
// A change tracker that hands its reports to a callable.

#include <functional>

#include "editing/ContentChangesTracker.h"

namespace QuillonCore {

class FunctionalContentChangesTracker : public ContentChangesTracker {
  public:
    using Callback = std::function<void(WhatChanged)>;

    FunctionalContentChangesTracker(jobstr* job, EventDispatcher* history, EventDispatcher& layers,
                                    Callback callback)
        : ContentChangesTracker(job, history, layers), mCallback(std::move(callback)) {}

  protected:
    // An empty callable throws std::bad_function_call.
    void ContentChangedDetailedSelf(WhatChanged what) override { mCallback(what); }

  private:
    Callback mCallback;
};

}  // namespace QuillonCore
