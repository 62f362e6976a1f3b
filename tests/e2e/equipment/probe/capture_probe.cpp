// Drives the Wine device stack and the stand-in driver the way a capture
// client does (enumerate, bind, join a graph, KsProperty), so that the rig
// can be checked on its own, without the utility under test.
//   capture_probe list
//   capture_probe poll <device index> <ticks>
#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksproxy.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const GUID kStatusSet = {0x9490E589, 0x6B17, 0x44EC, {0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE}};
const GUID kTransferSet = {0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}};

IEnumMoniker* EnumerateCapture(HRESULT* result) {
  ICreateDevEnum* devices = nullptr;
  *result = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                             reinterpret_cast<void**>(&devices));
  if (FAILED(*result)) return nullptr;
  IEnumMoniker* monikers = nullptr;
  *result = devices->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, &monikers, 0);
  devices->Release();
  return *result == S_OK ? monikers : nullptr;
}

int List() {
  HRESULT hr;
  IEnumMoniker* monikers = EnumerateCapture(&hr);
  printf("enumerate hr=0x%08lx\n", static_cast<unsigned long>(hr));
  if (!monikers) return 0;
  IMoniker* moniker = nullptr;
  for (int index = 0; monikers->Next(1, &moniker, nullptr) == S_OK; ++index) {
    IPropertyBag* bag = nullptr;
    char name[256] = "(unreadable)";
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
      VARIANT value;
      VariantInit(&value);
      if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR) {
        WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, name, sizeof name, nullptr, nullptr);
      }
      VariantClear(&value);
      bag->Release();
    }
    printf("device %d \"%s\"\n", index, name);
    moniker->Release();
  }
  monikers->Release();
  return 0;
}

HRESULT Request(IKsControl* control, const GUID& set, ULONG length, unsigned char* property, void* data,
                ULONG dataLength) {
  memcpy(property, &set, sizeof set);
  property[20] = 1;  // KSPROPERTY_TYPE_GET
  ULONG returned = 0;
  return control->KsProperty(reinterpret_cast<PKSPROPERTY>(property), length, data, dataLength, &returned);
}

int Poll(int wanted, int ticks) {
  HRESULT hr;
  IEnumMoniker* monikers = EnumerateCapture(&hr);
  if (!monikers) {
    printf("enumerate hr=0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  IMoniker* moniker = nullptr;
  for (int index = 0; monikers->Next(1, &moniker, nullptr) == S_OK; ++index) {
    if (index == wanted) break;
    moniker->Release();
    moniker = nullptr;
  }
  monikers->Release();
  if (!moniker) {
    printf("no device %d\n", wanted);
    return 1;
  }
  IBaseFilter* filter = nullptr;
  hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
  moniker->Release();
  printf("bind hr=0x%08lx\n", static_cast<unsigned long>(hr));
  if (FAILED(hr)) return 0;

  IGraphBuilder* graph = nullptr;
  hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                        reinterpret_cast<void**>(&graph));
  if (FAILED(hr)) return 1;
  hr = graph->AddFilter(filter, L"probe");
  printf("addfilter hr=0x%08lx\n", static_cast<unsigned long>(hr));

  IKsControl* control = nullptr;
  hr = filter->QueryInterface(IID_IKsControl, reinterpret_cast<void**>(&control));
  printf("kscontrol hr=0x%08lx\n", static_cast<unsigned long>(hr));
  for (int tick = 0; control && tick < ticks; ++tick) {
    unsigned char status[32] = {};
    status[24] = 8;
    unsigned char statusByte = 8;
    hr = Request(control, kStatusSet, sizeof status, status, &statusByte, 1);
    printf("tick %d status hr=0x%08lx byte=%u", tick, static_cast<unsigned long>(hr), statusByte);
    if (hr == S_OK && statusByte == 0) {
      unsigned char transfer[48] = {};
      unsigned char read[4] = {0xEE, 0xEE, 0xEE, 0xEE};
      unsigned char scratch[8] = {};
      unsigned char writeByte = 0;
      transfer[24] = 0x60;
      DWORD writeAddress = static_cast<DWORD>(reinterpret_cast<uintptr_t>(&writeByte));
      DWORD readAddress = static_cast<DWORD>(reinterpret_cast<uintptr_t>(read));
      DWORD readCount = sizeof read;
      memcpy(transfer + 28, &writeAddress, 4);
      memcpy(transfer + 36, &readAddress, 4);
      memcpy(transfer + 40, &readCount, 4);
      hr = Request(control, kTransferSet, sizeof transfer, transfer, scratch, sizeof scratch);
      printf(" transfer hr=0x%08lx read=%02x%02x%02x%02x", static_cast<unsigned long>(hr), read[0], read[1],
             read[2], read[3]);
    }
    printf("\n");
  }
  if (control) control->Release();
  filter->Release();
  graph->Release();
  printf("released\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CoInitialize(nullptr);
  int rc = 2;
  if (argc == 2 && strcmp(argv[1], "list") == 0) {
    rc = List();
  } else if (argc == 4 && strcmp(argv[1], "poll") == 0) {
    rc = Poll(atoi(argv[2]), atoi(argv[3]));
  } else {
    fprintf(stderr, "usage: capture_probe list | poll <index> <ticks>\n");
  }
  fflush(stdout);
  CoUninitialize();
  return rc;
}
