#include "sim/server/ServedApplication.h"

namespace pptsim::server {

ServedApplication::ServedApplication(const ComPtr<IDispatch>& application, ServerLifetime& lifetime)
    : application(application), lifetime(lifetime) {}

HRESULT ServedApplication::Create(const ComPtr<IDispatch>& application, ServerLifetime& lifetime,
                                  REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!application) {
        return E_UNEXPECTED;
    }
    auto* served = new ServedApplication(application, lifetime);
    const HRESULT result = served->QueryInterface(riid, object);
    served->Release();
    return result;
}

HRESULT ServedApplication::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
    } else if (IsEqualGUID(riid, IID_IExternalConnection)) {
        *object = static_cast<IExternalConnection*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ServedApplication::AddRef() {
    return ++references;
}

ULONG ServedApplication::Release() {
    const ULONG left = --references;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT ServedApplication::GetTypeInfoCount(UINT* count) {
    return application->GetTypeInfoCount(count);
}

HRESULT ServedApplication::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
    return application->GetTypeInfo(index, locale, info);
}

HRESULT ServedApplication::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                         DISPID* ids) {
    return application->GetIDsOfNames(riid, names, count, locale, ids);
}

HRESULT ServedApplication::Invoke(DISPID member, REFIID riid, LCID locale, WORD flags,
                                  DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                  UINT* argumentError) {
    return application->Invoke(member, riid, locale, flags, params, result, exception,
                               argumentError);
}

DWORD ServedApplication::AddConnection(DWORD kind, DWORD) {
    if ((kind & EXTCONN_STRONG) == 0) {
        return strongConnections;
    }
    lifetime.Hold();
    return ++strongConnections;
}

DWORD ServedApplication::ReleaseConnection(DWORD kind, DWORD, BOOL) {
    if ((kind & EXTCONN_STRONG) == 0 || strongConnections == 0) {
        return strongConnections;
    }
    const DWORD left = --strongConnections;
    lifetime.Release();
    return left;
}

}  // namespace pptsim::server
