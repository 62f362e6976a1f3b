// The floor the utility's idle cost is measured against: the least a Win32
// program can do to watch the receiver as often as the utility does. It binds
// one capture device (by enumeration index), takes its IKsControl, and on a
// 65 ms timer sends the one status request of an idle tick, nothing else.
//   floor_poller.exe <device index>
#include <dshow.h>
#include <ks.h>
#include <ksproxy.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const GUID kStatusSet = {0x9490E589, 0x6B17, 0x44EC, {0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE}};
IKsControl* control = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    unsigned char property[32] = {};
    memcpy(property, &kStatusSet, sizeof kStatusSet);
    property[20] = 1;  // KSPROPERTY_TYPE_GET
    property[24] = 8;  // the key-ready selector
    unsigned char status = 8;
    ULONG returned = 0;
    control->KsProperty(reinterpret_cast<PKSPROPERTY>(property), sizeof property, &status, 1, &returned);
}

IKsControl* OpenDevice(int wanted) {
    ICreateDevEnum* devices = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&devices)))) {
        return nullptr;
    }
    IEnumMoniker* monikers = nullptr;
    HRESULT hr = devices->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, &monikers, 0);
    devices->Release();
    if (hr != S_OK) return nullptr;
    IMoniker* moniker = nullptr;
    for (int index = 0; monikers->Next(1, &moniker, nullptr) == S_OK; ++index) {
        if (index == wanted) break;
        moniker->Release();
        moniker = nullptr;
    }
    monikers->Release();
    if (moniker == nullptr) return nullptr;
    IBaseFilter* filter = nullptr;
    hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    moniker->Release();
    if (FAILED(hr)) return nullptr;
    IKsControl* found = nullptr;
    filter->QueryInterface(IID_IKsControl, reinterpret_cast<void**>(&found));
    // Kept for the whole process, like the utility's filter.
    return found;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    CoInitialize(nullptr);
    control = OpenDevice(atoi(commandLine));
    if (control == nullptr) return 1;
    SetTimer(nullptr, 0, 65, Tick);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
