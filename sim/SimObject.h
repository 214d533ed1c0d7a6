// One object of the simulated PowerPoint as an automation object: reference counted, answers
// IUnknown and IDispatch, resolves member names and hands each call to the simulation.
#pragma once

#include <atomic>

#include "platform/Platform.h"
#include "sim/ObjectRef.h"

namespace pptsim {

class SimObject final : public IDispatch {
public:
    // Starts with one reference, owned by the caller.
    static IDispatch* Create(const ObjectRef& target);
    // The same, left out of LiveCount: the running PowerPoint's own entry in the running object
    // table, which lives as long as PowerPoint does rather than as long as a client holds it.
    static IDispatch* CreateUncounted(const ObjectRef& target);
    // Objects alive in this process, so tests can tell that every reference was released.
    static long LiveCount();
    // What an object passed back to PowerPoint as an argument stands for (a shape given to
    // AddEffect); null when it is none of the simulation's objects. Under COM the argument
    // arrives in the simulation's own apartment as the object itself.
    static const ObjectRef* TargetOf(IDispatch* object);

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

private:
    SimObject(const ObjectRef& target, bool counted);
    ~SimObject();

    const ObjectRef target;
    const bool counted;
    std::atomic<ULONG> references{1};
    static std::atomic<long> live;
};

}  // namespace pptsim
