#pragma once
// A DirectShow enumerator (IEnumPins, IEnumMediaTypes) over a fixed list.
// `Hand` gives the caller its own reference or copy of one item.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/com.h"

namespace lumorix::engine {

template <typename Interface, typename Item, typename Out, HRESULT (*Hand)(const Item&, Out*)>
class ListEnumerator : public ComObject<Interface> {
 public:
  ListEnumerator(std::vector<Item> items, size_t position) : items_(std::move(items)), position_(position) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Out* out, ULONG* fetched) override {
    if (!out || (count != 1 && !fetched)) return E_POINTER;
    ULONG done = 0;
    while (done < count && position_ < items_.size()) {
      if (HRESULT result = Hand(items_[position_], &out[done]); FAILED(result)) {
        if (done == 0) return result;
        break;  // the caller keeps what it was given
      }
      ++position_;
      ++done;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const size_t skipped = std::min<size_t>(count, items_.size() - position_);
    position_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Interface** copy) override {
    if (!copy) return E_POINTER;
    try {
      *copy = MakeCom<ListEnumerator>(items_, position_).Detach();
    } catch (...) {
      *copy = nullptr;
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  std::vector<Item> items_;
  size_t position_;
};

}  // namespace lumorix::engine
