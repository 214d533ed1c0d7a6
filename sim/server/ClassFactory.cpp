#include "sim/server/ClassFactory.h"

#include "platform/ComPtr.h"
#include "sim/SimulationActivation.h"
#include "sim/server/ServedApplication.h"

namespace pptsim::server {

ClassFactory::ClassFactory(ServerLifetime& lifetime) : lifetime(lifetime) {}

HRESULT ClassFactory::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
    return ++references;
}

ULONG ClassFactory::Release() {
    return --references;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    // The simulation reads its scenario (PPTSIM_SCENARIO) now, from this process's environment.
    ComPtr<IDispatch> application;
    const HRESULT activation = ActivateApplication(application.Receive());
    if (FAILED(activation)) {
        // A single-use server that could not start PowerPoint has nothing left to serve.
        lifetime.Quit();
        return activation;
    }
    return ServedApplication::Create(application, lifetime, riid, object);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        lifetime.Hold();
    } else {
        lifetime.Release();
    }
    return S_OK;
}

}  // namespace pptsim::server
