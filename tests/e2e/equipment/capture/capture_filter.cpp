// The stand-in capture filter's behaviour: binding, graph membership and the
// answers to the two receiver property sets, each request logged in order.
#include "capture_filter.h"

#include <cstring>

#include "empty_pin_enum.h"

namespace equipment {

// {866F9DCB-54E5-4822-9C4B-3B3D2F384BB4}: this stand-in's own class.
const CLSID CLSID_StandInCapture = {0x866f9dcb, 0x54e5, 0x4822, {0x9c, 0x4b, 0x3b, 0x3d, 0x2f, 0x38, 0x4b, 0xb4}};

namespace {

// The receiver's two vendor property sets, as the utility sends them.
const GUID kStatusSet = {0x9490E589, 0x6B17, 0x44EC, {0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE}};
const GUID kTransferSet = {0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}};

// The status byte while no code waits: anything but 0, which means "waiting".
const unsigned char kNothingWaiting = 1;
// Read into the buffer when a transfer finds the queue empty.
const unsigned char kNoCode = 0xFF;

std::string Narrow(LPCWSTR text) {
  if (!text) return "(null)";
  char buffer[512];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return n > 0 ? std::string(buffer) : std::string("(unconvertible)");
}

// Reads a string or number value from the device's property bag; "" when absent.
std::string ReadBagValue(IPropertyBag* bag, LPCOLESTR name) {
  VARIANT value;
  VariantInit(&value);
  std::string result;
  if (SUCCEEDED(bag->Read(name, &value, nullptr))) {
    if (value.vt == VT_BSTR) {
      result = Narrow(value.bstrVal);
    } else if (value.vt == VT_I4 || value.vt == VT_UI4) {
      result = std::to_string(value.lVal);
    }
  }
  VariantClear(&value);
  return result;
}

unsigned long ReadLe32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long>(p[3]) << 24);
}

}  // namespace

CaptureFilter::CaptureFilter() = default;

STDMETHODIMP CaptureFilter::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter) {
    *out = static_cast<IBaseFilter*>(this);
  } else if (riid == IID_IPersistPropertyBag) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else if (riid == IID_IKsControl && exposeKsControl_) {
    *out = static_cast<IKsControl*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CaptureFilter::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) CaptureFilter::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) {
    log_.Line("release tag=%s", tag_.c_str());
    delete this;
  }
  return left;
}

STDMETHODIMP CaptureFilter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_StandInCapture;
  return S_OK;
}

STDMETHODIMP CaptureFilter::Stop() { return S_OK; }
STDMETHODIMP CaptureFilter::Pause() { return S_OK; }
STDMETHODIMP CaptureFilter::Run(REFERENCE_TIME) { return S_OK; }

STDMETHODIMP CaptureFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = State_Stopped;
  return S_OK;
}

STDMETHODIMP CaptureFilter::SetSyncSource(IReferenceClock* clock) {
  log_.Line("setsync tag=%s clock=%d", tag_.c_str(), clock ? 1 : 0);
  return S_OK;
}

STDMETHODIMP CaptureFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  *clock = nullptr;
  return S_OK;
}

STDMETHODIMP CaptureFilter::EnumPins(IEnumPins** pins) {
  log_.Line("enumpins tag=%s", tag_.c_str());
  return CreateEmptyPinEnum(pins);
}

STDMETHODIMP CaptureFilter::FindPin(LPCWSTR, IPin** pin) {
  if (pin) *pin = nullptr;
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP CaptureFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  lstrcpynW(info->achName, name_, MAX_FILTER_NAME);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

STDMETHODIMP CaptureFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  log_.Line("join tag=%s graph=%d name=\"%s\"%s", tag_.c_str(), graph ? 1 : 0, Narrow(name).c_str(),
            graph && failJoin_ ? " result=fail" : "");
  // Leaving the graph must always succeed: the graph's release loops otherwise.
  if (graph && failJoin_) return E_FAIL;
  graph_ = graph;
  if (name) {
    lstrcpynW(name_, name, MAX_FILTER_NAME);
  } else {
    name_[0] = 0;
  }
  return S_OK;
}

STDMETHODIMP CaptureFilter::QueryVendorInfo(LPWSTR* info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CaptureFilter::InitNew() { return S_OK; }

STDMETHODIMP CaptureFilter::Load(IPropertyBag* bag, IErrorLog*) {
  if (!bag) return E_POINTER;
  std::string logPath = ReadBagValue(bag, L"StandInLog");
  std::string controlPath = ReadBagValue(bag, L"StandInControl");
  std::string tag = ReadBagValue(bag, L"StandInTag");
  if (!tag.empty()) tag_ = tag;
  exposeKsControl_ = ReadBagValue(bag, L"StandInNoKsControl") != "1";
  failJoin_ = ReadBagValue(bag, L"StandInFailJoin") == "1";
  bool failLoad = ReadBagValue(bag, L"StandInFailLoad") == "1";
  if (!logPath.empty()) log_.Open(logPath);
  if (!controlPath.empty() && !control_.Open(controlPath)) {
    log_.Line("load tag=%s cannot open control file \"%s\"", tag_.c_str(), controlPath.c_str());
  }
  log_.Line("load tag=%s pid=%lu friendly=\"%s\"%s", tag_.c_str(), GetCurrentProcessId(),
            ReadBagValue(bag, L"FriendlyName").c_str(), failLoad ? " result=fail" : "");
  return failLoad ? E_FAIL : S_OK;
}

STDMETHODIMP CaptureFilter::Save(IPropertyBag*, BOOL, BOOL) { return E_NOTIMPL; }

HRESULT CaptureFilter::AnswerStatus(unsigned char* data, ULONG dataLength, std::string* answer) {
  if (!data || dataLength < 1) return E_INVALIDARG;
  unsigned long value = 0;
  unsigned char status = control_.keys.empty() ? kNothingWaiting : 0;
  if (control_.garbage.Take(nullptr)) {
    junkSeed_ = junkSeed_ * 1103515245 + 12345;
    status = static_cast<unsigned char>(1 + (junkSeed_ >> 16) % 255);  // never 0: 0 means "waiting"
  } else if (control_.statusByte.Take(&value)) {
    status = static_cast<unsigned char>(value);
  }
  // A failing answer still carries the real status byte, so that a caller
  // that ignores the result (or takes S_FALSE for success) reads a waiting
  // key and gives itself away with a transfer request.
  data[0] = status;
  *answer = Hex(data, 1);
  if (control_.statusResult.Take(&value)) return static_cast<HRESULT>(value);
  return S_OK;
}

HRESULT CaptureFilter::AnswerTransfer(const unsigned char* property, unsigned char* data, ULONG dataLength,
                                      std::string* answer) {
  unsigned long value = 0;
  // A failed transfer leaves the code queued: a later transfer delivers it.
  if (control_.transferResult.Take(&value)) return static_cast<HRESULT>(value);
  // The utility is a 32-bit process passing its own addresses.
  unsigned char* read = reinterpret_cast<unsigned char*>(static_cast<uintptr_t>(ReadLe32(property + 36)));
  unsigned long readCount = ReadLe32(property + 40);
  if (!read || readCount == 0) return E_POINTER;
  // Never scribble past what a sane caller could have meant.
  if (readCount > 64) return E_INVALIDARG;
  if (control_.garbage.Take(nullptr)) {
    for (unsigned long i = 0; i < readCount; ++i) {
      junkSeed_ = junkSeed_ * 1103515245 + 12345;
      read[i] = static_cast<unsigned char>(junkSeed_ >> 16);
    }
    if (data) memset(data, 0xA5, dataLength);
    *answer = "junk read=" + Hex(read, readCount);
    return S_OK;
  }
  unsigned char code = kNoCode;
  if (!control_.keys.empty()) {
    code = control_.keys.front();
    control_.keys.pop_front();
    *answer = "code=" + std::to_string(code);
  } else {
    *answer = "code=none";
  }
  read[0] = code;
  memset(read + 1, 0, readCount - 1);
  *answer += " read=" + Hex(read, readCount);
  return S_OK;
}

STDMETHODIMP CaptureFilter::KsProperty(PKSPROPERTY property, ULONG propertyLength, LPVOID data, ULONG dataLength,
                                       ULONG* bytesReturned) {
  control_.Poll(log_);
  unsigned long seq = ++requests_;
  const unsigned char* raw = reinterpret_cast<const unsigned char*>(property);
  std::string entry = data ? Hex(data, dataLength) : std::string("(null)");
  std::string propHex = raw ? Hex(raw, propertyLength > 256 ? 256 : propertyLength) : std::string("(null)");
  if (bytesReturned) *bytesReturned = 0;

  unsigned long delay = 0;
  if (control_.delayMs.Take(&delay)) Sleep(delay);

  const char* kind = "other";
  std::string answer = "-";
  HRESULT hr = E_PROP_SET_UNSUPPORTED;
  if (!raw || propertyLength < sizeof(KSPROPERTY)) {
    kind = "short";
    hr = E_INVALIDARG;
  } else if (property->Set == kStatusSet && propertyLength >= 25) {
    kind = "status";
    hr = AnswerStatus(static_cast<unsigned char*>(data), dataLength, &answer);
  } else if (property->Set == kTransferSet && propertyLength >= 44) {
    kind = "transfer";
    hr = AnswerTransfer(raw, static_cast<unsigned char*>(data), dataLength, &answer);
  }
  if (hr == S_OK && bytesReturned) *bytesReturned = (kind[0] == 's') ? 1 : 0;
  log_.Line("req n=%lu tag=%s kind=%s plen=%lu dlen=%lu prop=%s data=%s hr=0x%08lx answer=%s", seq, tag_.c_str(),
            kind, propertyLength, dataLength, propHex.c_str(), entry.c_str(), static_cast<unsigned long>(hr),
            answer.c_str());
  return hr;
}

STDMETHODIMP CaptureFilter::KsMethod(PKSMETHOD, ULONG, LPVOID, ULONG, ULONG*) {
  log_.Line("ksmethod tag=%s", tag_.c_str());
  return E_NOTIMPL;
}

STDMETHODIMP CaptureFilter::KsEvent(PKSEVENT, ULONG, LPVOID, ULONG, ULONG*) {
  log_.Line("ksevent tag=%s", tag_.c_str());
  return E_NOTIMPL;
}

}  // namespace equipment
