// Finding the tuner card's capture filter among DirectShow's video-capture
// devices, and the property requests through its IKsControl.
#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <ksmedia.h>
#include <ksproxy.h>

#include <cstring>

#include "platform/win32/handles.h"

namespace {

// The filter of the last device in enumeration order whose FriendlyName equals
// name exactly (a later match replaces an earlier one), or null. A property
// bag that cannot be opened, or a matching device that cannot be bound, ends
// the whole search without a result.
IBaseFilter* FindCaptureFilter(REFGUID category, const char* name) {
    ICreateDevEnum* deviceEnumerator = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&deviceEnumerator))))
        return nullptr;
    IEnumMoniker* enumerator = nullptr;
    const HRESULT created = deviceEnumerator->CreateClassEnumerator(category, &enumerator, 0);
    deviceEnumerator->Release();
    // S_FALSE (an empty category) comes with no enumerator.
    if (created != S_OK || enumerator == nullptr) return nullptr;
    enumerator->Reset();

    IBaseFilter* result = nullptr;
    IMoniker* moniker = nullptr;
    while (enumerator->Next(1, &moniker, nullptr) == S_OK) {
        IPropertyBag* bag = nullptr;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            moniker->Release();
            if (result != nullptr) result->Release();
            enumerator->Release();
            return nullptr;
        }
        VARIANT value;
        VariantInit(&value);
        const HRESULT read = bag->Read(L"FriendlyName", &value, nullptr);
        bag->Release();
        char friendlyName[80] = "";
        // A name that does not fit the 80 bytes, or is no string at all,
        // cannot match: the conversion fails rather than leaving a cut,
        // unterminated text.
        bool converted = false;
        if (SUCCEEDED(read) && value.vt == VT_BSTR && value.bstrVal != nullptr) {
            converted = WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, friendlyName, sizeof friendlyName,
                                            nullptr, nullptr) > 0;
            friendlyName[sizeof friendlyName - 1] = '\0';
        }
        if (converted && std::strcmp(friendlyName, name) == 0) {
            IBaseFilter* filter = nullptr;
            if (FAILED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)))) {
                VariantClear(&value);
                moniker->Release();
                if (result != nullptr) result->Release();
                enumerator->Release();
                return nullptr;
            }
            // The replaced match is released: only the last one is used.
            if (result != nullptr) result->Release();
            result = filter;
        }
        VariantClear(&value);
        moniker->Release();
    }
    enumerator->Release();
    return result;
}

// The graph and the filter live for the whole process: the graph keeps the
// filter, whose driver answers the receiver requests, and neither is released.
IGraphBuilder* filterGraph = nullptr;
IBaseFilter* captureFilter = nullptr;

// Set when an address for a request did not fit its 32-bit field, which only
// the 64-bit twin can meet: that request then fails without reaching the
// driver, rather than handing it a cut address to write through.
bool addressOutOfReach = false;

}  // namespace

namespace platform {

ReceiverControl OpenCaptureFilterControl(const char* const* friendlyNames, int nameCount, const char* graphName) {
    CoInitialize(nullptr);
    if (CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                         reinterpret_cast<void**>(&filterGraph)) != S_OK)
        return nullptr;
    IBaseFilter* filter = nullptr;
    for (int i = 0; i < nameCount && filter == nullptr; ++i)
        filter = FindCaptureFilter(AM_KSCATEGORY_CAPTURE, friendlyNames[i]);
    if (filter == nullptr) return nullptr;

    wchar_t wideGraphName[128] = L"";
    MultiByteToWideChar(CP_ACP, 0, graphName, -1, wideGraphName, sizeof wideGraphName / sizeof wideGraphName[0]);
    wideGraphName[sizeof wideGraphName / sizeof wideGraphName[0] - 1] = L'\0';
    if (filterGraph->AddFilter(filter, wideGraphName) != S_OK) {
        filter->Release();
        return nullptr;
    }
    IKsControl* control = nullptr;
    if (filter->QueryInterface(IID_IKsControl, reinterpret_cast<void**>(&control)) != S_OK) return nullptr;
    captureFilter = filter;
    return reinterpret_cast<ReceiverControl>(control);
}

void CoUninitialize() { ::CoUninitialize(); }

int ListCaptureDeviceNames(char (*names)[captureDeviceNameSize], int maxNames) {
    CoInitialize(nullptr);
    ICreateDevEnum* deviceEnumerator = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                reinterpret_cast<void**>(&deviceEnumerator))))
        return -1;
    IEnumMoniker* enumerator = nullptr;
    const HRESULT created = deviceEnumerator->CreateClassEnumerator(AM_KSCATEGORY_CAPTURE, &enumerator, 0);
    deviceEnumerator->Release();
    if (created == S_FALSE) return 0;  // an empty category
    if (created != S_OK || enumerator == nullptr) return -1;

    int count = 0;
    IMoniker* moniker = nullptr;
    while (enumerator->Next(1, &moniker, nullptr) == S_OK) {
        // Shown to the user, so a long name is cut rather than dropped.
        char name[256] = "(a device without a readable name)";
        IPropertyBag* bag = nullptr;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
            VARIANT value;
            VariantInit(&value);
            if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR &&
                value.bstrVal != nullptr) {
                if (WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, name, sizeof name, nullptr, nullptr) == 0)
                    lstrcpynA(name, "(a device with a name too long to show)", sizeof name);
            }
            VariantClear(&value);
            bag->Release();
        }
        moniker->Release();
        if (count < maxNames) lstrcpynA(names[count], name, captureDeviceNameSize);
        ++count;
    }
    enumerator->Release();
    return count;
}

std::uint32_t DriverAddress(void* buffer) {
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(buffer);
    if constexpr (!thirtyTwoBitProcess) {
        if (address > 0xFFFFFFFFu) {
            addressOutOfReach = true;
            return 0;
        }
    }
    return static_cast<std::uint32_t>(address);
}

std::int32_t KsProperty(ReceiverControl control, void* property, std::uint32_t propertyLength, void* data,
                        std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    if constexpr (!thirtyTwoBitProcess) {
        if (addressOutOfReach) {
            addressOutOfReach = false;
            if (bytesReturned != nullptr) *bytesReturned = 0;
            return E_POINTER;
        }
    }
    ULONG returned = 0;
    const HRESULT result = reinterpret_cast<IKsControl*>(control)->KsProperty(
        static_cast<PKSPROPERTY>(property), propertyLength, data, dataLength, &returned);
    if (bytesReturned != nullptr) *bytesReturned = returned;
    return result;
}

}  // namespace platform
