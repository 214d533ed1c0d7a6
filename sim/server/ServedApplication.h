// The application object as the server hands it to its client: the simulation's application,
// plus IExternalConnection, through which COM's stub manager reports the client's strong
// references. The release of the last one ends the server, as it ends an automation-started
// PowerPoint.
#pragma once

#include <atomic>

#include "platform/ComPtr.h"
#include "platform/Platform.h"
#include "sim/server/ServerLifetime.h"

namespace pptsim::server {

class ServedApplication final : public IDispatch, public IExternalConnection {
public:
    // Wraps application and returns the interface riid of the wrapper in object.
    static HRESULT Create(const ComPtr<IDispatch>& application, ServerLifetime& lifetime,
                          REFIID riid, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    DWORD STDMETHODCALLTYPE AddConnection(DWORD kind, DWORD reserved) override;
    DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD kind, DWORD reserved,
                                              BOOL lastReleaseCloses) override;

private:
    ServedApplication(const ComPtr<IDispatch>& application, ServerLifetime& lifetime);
    ~ServedApplication() = default;

    std::atomic<ULONG> references{1};
    std::atomic<DWORD> strongConnections{0};
    ComPtr<IDispatch> application;
    ServerLifetime& lifetime;
};

}  // namespace pptsim::server
