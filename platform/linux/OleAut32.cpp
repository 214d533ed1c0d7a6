// Stand-ins for the OLE Automation string and variant calls (oleaut32).
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

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
    if ((variant->vt & VT_ARRAY) != 0) {
        const HRESULT destroyed = SafeArrayDestroy(variant->parray);
        if (FAILED(destroyed)) {
            return destroyed;
        }
        VariantInit(variant);
        return S_OK;
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
    if ((source->vt & VT_ARRAY) != 0) {
        const HRESULT copied = SafeArrayCopy(source->parray, &copy.parray);
        if (FAILED(copied)) {
            return copied;
        }
    } else if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
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

// ---- Safe arrays ---------------------------------------------------------------------------

namespace {

// The element type lives beside the array, as Windows keeps it before an array it made.
struct TypedArray {
    VARTYPE vt;
    SAFEARRAY array;
};

TypedArray* TypedOf(SAFEARRAY* array) {
    return reinterpret_cast<TypedArray*>(reinterpret_cast<char*>(array) -
                                         offsetof(TypedArray, array));
}

VARIANT* VariantsOf(SAFEARRAY* array) {
    return static_cast<VARIANT*>(array->pvData);
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
    const std::size_t size = vt == VT_I4 ? sizeof(LONG) : vt == VT_VARIANT ? sizeof(VARIANT) : 0;
    if (size == 0) {
        return nullptr;
    }
    auto* typed = new (std::nothrow)
        TypedArray{vt, {1, 0, static_cast<ULONG>(size), 0, nullptr, {{elements, lowerBound}}}};
    if (typed == nullptr) {
        return nullptr;
    }
    typed->array.pvData = std::calloc(elements == 0 ? 1 : elements, size);
    if (typed->array.pvData == nullptr) {
        delete typed;
        return nullptr;
    }
    if (vt == VT_VARIANT) {
        for (ULONG index = 0; index < elements; ++index) {
            VariantInit(&VariantsOf(&typed->array)[index]);
        }
    }
    return &typed->array;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (array == nullptr) {
        return S_OK;
    }
    if (array->cLocks > 0) {
        return DISP_E_ARRAYISLOCKED;
    }
    TypedArray* typed = TypedOf(array);
    if (typed->vt == VT_VARIANT) {
        for (ULONG index = 0; index < array->rgsabound[0].cElements; ++index) {
            VariantClear(&VariantsOf(array)[index]);
        }
    }
    std::free(array->pvData);
    delete typed;
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* source, SAFEARRAY** copy) {
    if (source == nullptr || copy == nullptr) {
        return E_INVALIDARG;
    }
    const VARTYPE vt = TypedOf(source)->vt;
    const ULONG elements = source->rgsabound[0].cElements;
    SAFEARRAY* made = SafeArrayCreateVector(vt, source->rgsabound[0].lLbound, elements);
    if (made == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (vt == VT_VARIANT) {
        for (ULONG index = 0; index < elements; ++index) {
            const HRESULT copied =
                VariantCopy(&VariantsOf(made)[index], &VariantsOf(source)[index]);
            if (FAILED(copied)) {
                SafeArrayDestroy(made);
                return copied;
            }
        }
    } else {
        std::memcpy(made->pvData, source->pvData, std::size_t{elements} * source->cbElements);
    }
    *copy = made;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
    return array != nullptr ? array->cDims : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
    if (array == nullptr || vt == nullptr) {
        return E_INVALIDARG;
    }
    *vt = TypedOf(array)->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dimension, LONG* bound) {
    if (array == nullptr || bound == nullptr) {
        return E_INVALIDARG;
    }
    if (dimension != 1) {
        return DISP_E_BADINDEX;
    }
    *bound = array->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dimension, LONG* bound) {
    const HRESULT lower = SafeArrayGetLBound(array, dimension, bound);
    if (SUCCEEDED(lower)) {
        *bound += static_cast<LONG>(array->rgsabound[0].cElements) - 1;
    }
    return lower;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (array == nullptr || data == nullptr) {
        return E_INVALIDARG;
    }
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (array == nullptr) {
        return E_INVALIDARG;
    }
    if (array->cLocks == 0) {
        return E_UNEXPECTED;
    }
    --array->cLocks;
    return S_OK;
}
