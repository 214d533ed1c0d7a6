// Slide IDs and custom shows: Slide.SlideID, Slides.FindBySlideID, and
// SlideShowSettings.NamedSlideShows, whose shows list their slides by ID.
#include "sim/MemberHandlers.h"

namespace pptsim::members {
namespace {

NamedShow* NamedShowOfCall(MemberCall& call) {
    OpenPresentation* presentation = PresentationOfCall(call);
    if (presentation == nullptr) {
        return nullptr;
    }
    for (NamedShow& show : presentation->namedShows) {
        if (show.id == call.self.namedShowId) {
            return &show;
        }
    }
    return nullptr;
}

// Names of custom shows compare without regard to ASCII case (a guess, as PowerPoint's own
// names of things do).
bool SameShowName(const std::wstring& one, const std::wstring& other) {
    if (one.size() != other.size()) {
        return false;
    }
    for (std::size_t index = 0; index < one.size(); ++index) {
        auto lower = [](wchar_t unit) {
            return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
        };
        if (lower(one[index]) != lower(other[index])) {
            return false;
        }
    }
    return true;
}

HRESULT ReturnNamedShow(MemberCall& call, const NamedShow& show) {
    ObjectRef target{ObjectKind::NamedSlideShow, 0, call.self.presentationId};
    target.namedShowId = show.id;
    return ReturnObject(call, target);
}

// The slide IDs of an array argument: VT_ARRAY of VT_I4, or of VT_VARIANT holding integers (a
// VBA array of Variants).
bool ReadSlideIds(const VARIANT& argument, std::vector<int>& ids) {
    if ((argument.vt & VT_ARRAY) == 0 || argument.parray == nullptr ||
        SafeArrayGetDim(argument.parray) != 1) {
        return false;
    }
    const VARTYPE elements = static_cast<VARTYPE>(argument.vt & ~VT_ARRAY);
    if (elements != VT_I4 && elements != VT_VARIANT) {
        return false;
    }
    LONG lower = 0;
    LONG upper = 0;
    void* data = nullptr;
    if (FAILED(SafeArrayGetLBound(argument.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(argument.parray, 1, &upper)) ||
        FAILED(SafeArrayAccessData(argument.parray, &data))) {
        return false;
    }
    bool read = true;
    for (LONG index = 0; index <= upper - lower && read; ++index) {
        std::int64_t id = 0;
        if (elements == VT_I4) {
            id = static_cast<const LONG*>(data)[index];
        } else {
            read = ReadInteger(static_cast<const VARIANT*>(data)[index], id);
        }
        ids.push_back(static_cast<int>(id));
    }
    SafeArrayUnaccessData(argument.parray);
    return read;
}

}  // namespace

HRESULT SlideSlideID(MemberCall& call) {
    return IfExists(call, SlideOfCall(call),
                    [&](const SlideContent& slide) { return ReturnInteger(call, slide.id); });
}

HRESULT SlidesFindBySlideID(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        std::int64_t id = 0;
        if (!ReadIndex(*call.arguments[0], id)) {
            return DISP_E_TYPEMISMATCH;
        }
        if (id < kFirstSlideId || id > 0x7FFFFFFF ||
            presentation.PositionOf(static_cast<int>(id)) == 0) {
            return Raise(call, L"Slides.FindBySlideID : Item not found.");
        }
        return ReturnObject(call, {ObjectKind::Slide, 0, presentation.id, 0, static_cast<int>(id)});
    });
}

HRESULT SlideShowSettingsNamedSlideShows(MemberCall& call) {
    return ReturnPartOfPresentation(call, ObjectKind::NamedSlideShows);
}

HRESULT NamedSlideShowsCount(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        return ReturnInteger(call, static_cast<std::int64_t>(presentation.namedShows.size()));
    });
}

// Item(Index): a position from 1 or a custom show's name.
HRESULT NamedSlideShowsItem(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](const OpenPresentation& presentation) {
        std::wstring name;
        if (ReadText(*call.arguments[0], name)) {
            for (const NamedShow& show : presentation.namedShows) {
                if (SameShowName(show.name, name)) {
                    return ReturnNamedShow(call, show);
                }
            }
            return Raise(call, L"NamedSlideShows.Item : Item not found.");
        }
        std::size_t position = 0;
        const HRESULT read = ReadItemIndex(call, presentation.namedShows.size(), position);
        return FAILED(read) ? read : ReturnNamedShow(call, presentation.namedShows[position]);
    });
}

// Add(Name, SafeArrayOfSlideIDs): a new custom show of the slides with those IDs, in that order.
HRESULT NamedSlideShowsAdd(MemberCall& call) {
    return IfExists(call, PresentationOfCall(call), [&](OpenPresentation& presentation) {
        std::wstring name;
        std::vector<int> ids;
        if (!ReadText(*call.arguments[0], name) || !ReadSlideIds(*call.arguments[1], ids)) {
            return DISP_E_TYPEMISMATCH;
        }
        if (name.empty() || ids.empty()) {
            return Raise(call, L"NamedSlideShows.Add : Invalid request.");
        }
        for (int id : ids) {
            if (presentation.PositionOf(id) == 0) {
                return Raise(call, L"NamedSlideShows.Add : Item not found.");
            }
        }
        for (const NamedShow& show : presentation.namedShows) {
            if (SameShowName(show.name, name)) {
                return Raise(call, L"NamedSlideShows.Add : A custom show of that name exists.");
            }
        }
        presentation.namedShows.push_back({call.state.NewId(), name, ids});
        return ReturnNamedShow(call, presentation.namedShows.back());
    });
}

HRESULT NamedSlideShowName(MemberCall& call) {
    return IfExists(call, NamedShowOfCall(call),
                    [&](const NamedShow& show) { return ReturnText(call, show.name); });
}

// An array of the show's slide IDs from 1, as Microsoft's examples read it (For i = 1 To
// UBound(ids)); of VT_I4, as a VBA array of Long (inferred).
HRESULT NamedSlideShowSlideIDs(MemberCall& call) {
    return IfExists(call, NamedShowOfCall(call), [&](const NamedShow& show) {
        if (call.result == nullptr) {
            return S_OK;
        }
        SAFEARRAY* ids = SafeArrayCreateVector(VT_I4, 1, static_cast<ULONG>(show.slideIds.size()));
        void* data = nullptr;
        if (ids == nullptr || FAILED(SafeArrayAccessData(ids, &data))) {
            SafeArrayDestroy(ids);
            return E_OUTOFMEMORY;
        }
        for (std::size_t index = 0; index < show.slideIds.size(); ++index) {
            static_cast<LONG*>(data)[index] = show.slideIds[index];
        }
        SafeArrayUnaccessData(ids);
        call.result->vt = static_cast<VARTYPE>(VT_ARRAY | VT_I4);
        call.result->parray = ids;
        return S_OK;
    });
}

}  // namespace pptsim::members
