// The class object that COM asks for a new simulated PowerPoint application.
#pragma once

#include <atomic>

#include "platform/Platform.h"
#include "sim/server/ServerLifetime.h"

namespace pptsim::server {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(ServerLifetime& lifetime);
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    // Lives on the server's stack for the whole message loop; COM's references do not own it.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ServerLifetime& lifetime;
    std::atomic<ULONG> references{1};
};

}  // namespace pptsim::server
