#pragma once
// A parameter carrying one value (the edit history sends its action kind).

#include "editing/EventParameter.h"

namespace QuillonCore {

template <class T>
class SingleEventParameter : public EventParameter {
  public:
    explicit SingleEventParameter(const T& value) : mValue(value) {}
    const T& GetValue() const { return mValue; }

  private:
    T mValue;
};

}  // namespace QuillonCore
