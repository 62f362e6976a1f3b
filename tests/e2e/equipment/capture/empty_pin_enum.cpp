// IEnumPins over no pins.
#include "empty_pin_enum.h"

namespace equipment {

namespace {

class EmptyPinEnum final : public IEnumPins {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IEnumPins) {
      *out = static_cast<IEnumPins*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP Next(ULONG, IPin** pins, ULONG* fetched) override {
    if (!pins) return E_POINTER;
    if (fetched) *fetched = 0;
    return S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override { return count ? S_FALSE : S_OK; }
  STDMETHODIMP Reset() override { return S_OK; }
  STDMETHODIMP Clone(IEnumPins** out) override { return CreateEmptyPinEnum(out); }

 private:
  LONG refs_ = 1;
};

}  // namespace

HRESULT CreateEmptyPinEnum(IEnumPins** out) {
  if (!out) return E_POINTER;
  *out = new EmptyPinEnum();
  return S_OK;
}

}  // namespace equipment
