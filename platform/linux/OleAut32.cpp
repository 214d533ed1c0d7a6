// Stand-ins for the OLE Automation string and variant calls (oleaut32).
#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"

namespace {

// A BSTR points just past a header that holds the text's length in bytes, as on Windows, so a
// BSTR may contain zero units and its length is still known.
struct BstrHeader {
    std::uint32_t byteLength;
};
static_assert(sizeof(BstrHeader) % alignof(OLECHAR) == 0, "text after the header stays aligned");

BstrHeader* HeaderOf(BSTR text) {
    return reinterpret_cast<BstrHeader*>(reinterpret_cast<char*>(text) - sizeof(BstrHeader));
}

std::size_t UnitCount(const OLECHAR* text) {
    std::size_t count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    const std::size_t byteLength = std::size_t{length} * sizeof(OLECHAR);
    if (byteLength > 0xFFFFFFF0u) {
        return nullptr;
    }
    void* block = std::malloc(sizeof(BstrHeader) + byteLength + sizeof(OLECHAR));
    if (block == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<BstrHeader*>(block);
    header->byteLength = static_cast<std::uint32_t>(byteLength);
    auto* units = reinterpret_cast<OLECHAR*>(header + 1);
    if (text != nullptr) {
        std::memcpy(units, text, byteLength);
    } else {
        std::memset(units, 0, byteLength);
    }
    units[length] = 0;
    return units;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    return SysAllocStringLen(text, static_cast<UINT>(UnitCount(text)));
}

void SysFreeString(BSTR text) {
    if (text != nullptr) {
        std::free(HeaderOf(text));
    }
}

UINT SysStringLen(BSTR text) {
    if (text == nullptr) {
        return 0;
    }
    return HeaderOf(text)->byteLength / sizeof(OLECHAR);
}

void VariantInit(VARIANTARG* variant) {
    if (variant != nullptr) {
        variant->vt = VT_EMPTY;
        variant->wReserved1 = variant->wReserved2 = variant->wReserved3 = 0;
        variant->llVal = 0;
    }
}

HRESULT VariantClear(VARIANTARG* variant) {
    if (variant == nullptr) {
        return E_INVALIDARG;
    }
    switch (variant->vt) {
        case VT_BSTR:
            SysFreeString(variant->bstrVal);
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            if (variant->punkVal != nullptr) {
                variant->punkVal->Release();
            }
            break;
        default:
            break;
    }
    VariantInit(variant);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source) {
    if (destination == nullptr || source == nullptr) {
        return E_INVALIDARG;
    }
    if (destination == source) {
        return S_OK;
    }
    // Build the copy first so a failed allocation leaves the destination as it was.
    VARIANT copy = *source;
    if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
        copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (copy.bstrVal == nullptr) {
            return E_OUTOFMEMORY;
        }
    } else if ((source->vt == VT_DISPATCH || source->vt == VT_UNKNOWN) &&
               source->punkVal != nullptr) {
        source->punkVal->AddRef();
    }
    VariantClear(destination);
    *destination = copy;
    return S_OK;
}
