// The stand-in capture filter: just enough of a DirectShow filter for the
// device enumerator to bind it and a filter graph to hold it, plus the
// IKsControl through which the utility reads the IR receiver.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksproxy.h>

#include <string>

#include "../common/line_log.h"
#include "control_file.h"

namespace equipment {

extern const CLSID CLSID_StandInCapture;

class CaptureFilter final : public IBaseFilter, public IPersistPropertyBag, public IKsControl {
 public:
  CaptureFilter();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPersist (shared by IBaseFilter and IPersistPropertyBag)
  STDMETHODIMP GetClassID(CLSID* clsid) override;

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** pins) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

  // IPersistPropertyBag
  STDMETHODIMP InitNew() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* errors) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

  // IKsControl
  STDMETHODIMP KsProperty(PKSPROPERTY property, ULONG propertyLength, LPVOID data, ULONG dataLength,
                          ULONG* bytesReturned) override;
  STDMETHODIMP KsMethod(PKSMETHOD method, ULONG methodLength, LPVOID data, ULONG dataLength,
                        ULONG* bytesReturned) override;
  STDMETHODIMP KsEvent(PKSEVENT event, ULONG eventLength, LPVOID data, ULONG dataLength,
                       ULONG* bytesReturned) override;

 private:
  HRESULT AnswerStatus(unsigned char* data, ULONG dataLength, std::string* answer);
  HRESULT AnswerTransfer(const unsigned char* property, unsigned char* data, ULONG dataLength,
                         std::string* answer);

  LONG refs_ = 1;
  IFilterGraph* graph_ = nullptr;  // not AddRef'd: the graph owns us
  WCHAR name_[MAX_FILTER_NAME] = {};
  std::string tag_ = "?";
  bool exposeKsControl_ = true;
  bool failJoin_ = false;
  unsigned long requests_ = 0;
  unsigned long junkSeed_ = 0x2545F491;
  LineLog log_;
  ControlFile control_;
};

}  // namespace equipment
