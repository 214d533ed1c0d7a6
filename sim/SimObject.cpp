#include "sim/SimObject.h"

#include "sim/ObjectMembers.h"
#include "sim/Simulation.h"

namespace pptsim {
namespace {

bool SameName(const wchar_t* memberName, const OLECHAR* requested) {
    std::size_t i = 0;
    for (; memberName[i] != 0; ++i) {
        if (static_cast<wchar_t>(requested[i]) != memberName[i]) {
            return false;
        }
    }
    return requested[i] == 0;
}

// Answered by the simulation's objects only, so that TargetOf tells them from others.
// {5B1F9A2E-7C4D-4E8B-9F3A-2D6C8E1B4A70}
constexpr IID kSimObjectIid = {
    0x5B1F9A2E, 0x7C4D, 0x4E8B, {0x9F, 0x3A, 0x2D, 0x6C, 0x8E, 0x1B, 0x4A, 0x70}};

}  // namespace

std::atomic<long> SimObject::live{0};

const ObjectRef* SimObject::TargetOf(IDispatch* object) {
    void* found = nullptr;
    if (object == nullptr || FAILED(object->QueryInterface(kSimObjectIid, &found))) {
        return nullptr;
    }
    auto* simObject = static_cast<SimObject*>(found);
    simObject->Release();  // the caller's argument still holds it
    return &simObject->target;
}

IDispatch* SimObject::Create(const ObjectRef& target) {
    return new SimObject(target, true);
}

IDispatch* SimObject::CreateUncounted(const ObjectRef& target) {
    return new SimObject(target, false);
}

long SimObject::LiveCount() {
    return live.load();
}

SimObject::SimObject(const ObjectRef& target, bool counted) : target(target), counted(counted) {
    if (counted) {
        ++live;
    }
}

SimObject::~SimObject() {
    if (counted && --live == 0) {
        Simulation::Instance().LastClientLetGo();
    }
}

HRESULT STDMETHODCALLTYPE SimObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDispatch) ||
        IsEqualGUID(riid, kSimObjectIid)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SimObject::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE SimObject::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE SimObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_INVALIDARG;
    }
    *count = 0;  // late binding only: no type library
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimObject::GetTypeInfo(UINT /*index*/, LCID /*locale*/,
                                                 ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE SimObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                   LCID /*locale*/, DISPID* ids) {
    if (!IsEqualGUID(riid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (names == nullptr || ids == nullptr || count == 0) {
        return E_INVALIDARG;
    }
    const HRESULT connection = Simulation::Instance().Connection(target);
    if (FAILED(connection)) {
        return connection;
    }
    // The first name is the member; further names would be named arguments, which no member
    // of ours has.
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
    }
    const std::vector<Member>& members = MembersOf(target.kind);
    for (std::size_t position = 0; position < members.size(); ++position) {
        if (names[0] != nullptr && SameName(members[position].name, names[0])) {
            ids[0] = static_cast<DISPID>(position + 1);
        }
    }
    return ids[0] != DISPID_UNKNOWN && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE SimObject::Invoke(DISPID member, REFIID riid, LCID /*locale*/, WORD flags,
                                            DISPPARAMS* params, VARIANT* result,
                                            EXCEPINFO* exception, UINT* /*argumentError*/) {
    if (!IsEqualGUID(riid, IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    return Simulation::Instance().Invoke(target, member, flags, params, result, exception);
}

}  // namespace pptsim
