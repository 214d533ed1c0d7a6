#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/UniqueVariant.h"
#include "tests/NamedCase.h"

namespace {

// An IDispatch that only counts its references.
class CountedObject final : public IDispatch {
public:
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
};

struct BstrCase : NamedCase {
    std::wstring text;
};

class BstrRoundTrip : public ::testing::TestWithParam<BstrCase> {};

TEST_P(BstrRoundTrip, SysAllocStringLen_KeepsEveryUnitAndTerminates) {
    const std::wstring& text = GetParam().text;
    BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(SysStringLen(copy), text.size());
    EXPECT_EQ(std::wstring(copy, SysStringLen(copy)), text);
    EXPECT_EQ(copy[text.size()], L'\0');
    SysFreeString(copy);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BstrRoundTrip,
    ::testing::Values(BstrCase{"Empty", L""}, BstrCase{"Ascii", L"C:\\Talks\\Q3 review.pptx"},
                      BstrCase{"EmbeddedZero", std::wstring(L"a\0b", 3)},
                      BstrCase{"SurrogatePair", std::wstring{L'x', 0xD83D, 0xDE00}},
                      BstrCase{"Long", std::wstring(5000, L'p')}));

TEST(Bstr, SysAllocString_StopsAtFirstZero) {
    BSTR copy = SysAllocString(L"Slides");
    EXPECT_EQ(SysStringLen(copy), 6u);
    EXPECT_EQ(std::wstring(copy), L"Slides");
    SysFreeString(copy);
}

TEST(Bstr, NullStrings_AreValidEmpty) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);  // allowed, does nothing
    BSTR blank = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(SysStringLen(blank), 3u);
    EXPECT_EQ(blank[3], L'\0');
    SysFreeString(blank);
}

TEST(Variant, VariantClear_ReleasesWhatItHoldsAndEmpties) {
    CountedObject object;
    object.AddRef();  // the variant's reference
    VARIANT holdsObject;
    VariantInit(&holdsObject);
    holdsObject.vt = VT_DISPATCH;
    holdsObject.pdispVal = &object;
    EXPECT_EQ(VariantClear(&holdsObject), S_OK);
    EXPECT_EQ(object.references, 1u);
    EXPECT_EQ(holdsObject.vt, VT_EMPTY);

    VARIANT holdsText;  // freeing is checked by the sanitizer builds
    VariantInit(&holdsText);
    holdsText.vt = VT_BSTR;
    holdsText.bstrVal = SysAllocString(L"FullName");
    EXPECT_EQ(VariantClear(&holdsText), S_OK);
    EXPECT_EQ(holdsText.vt, VT_EMPTY);

    VARIANT holdsNull;
    VariantInit(&holdsNull);
    holdsNull.vt = VT_UNKNOWN;
    holdsNull.punkVal = nullptr;
    EXPECT_EQ(VariantClear(&holdsNull), S_OK);
}

TEST(Variant, VariantCopy_CopiesTextDeeplyAndSharesObjects) {
    UniqueVariant text;
    text.Get()->vt = VT_BSTR;
    text.Get()->bstrVal = SysAllocString(L"Q3 review.pptx");
    UniqueVariant textCopy;
    ASSERT_EQ(VariantCopy(textCopy.Get(), text.Get()), S_OK);
    EXPECT_EQ(textCopy->vt, VT_BSTR);
    EXPECT_NE(textCopy->bstrVal, text->bstrVal);
    EXPECT_EQ(std::wstring(textCopy->bstrVal), L"Q3 review.pptx");

    CountedObject object;
    {
        UniqueVariant holder;
        holder.Get()->vt = VT_DISPATCH;
        holder.Get()->pdispVal = &object;
        object.AddRef();
        UniqueVariant copy;
        ASSERT_EQ(VariantCopy(copy.Get(), holder.Get()), S_OK);
        EXPECT_EQ(copy->pdispVal, &object);
        EXPECT_EQ(object.references, 3u);
        // Copying over a variant that holds a reference releases that reference.
        ASSERT_EQ(VariantCopy(copy.Get(), text.Get()), S_OK);
        EXPECT_EQ(object.references, 2u);
    }
    EXPECT_EQ(object.references, 1u);
}

struct GuidCase : NamedCase {
    GUID a;
    GUID b;
    bool equal;
};

class GuidCompare : public ::testing::TestWithParam<GuidCase> {};

TEST_P(GuidCompare, IsEqualGUID_ComparesEveryField) {
    const GuidCase& c = GetParam();
    EXPECT_EQ(IsEqualGUID(c.a, c.b), c.equal);
    EXPECT_EQ(c.a == c.b, c.equal);
    EXPECT_EQ(c.a != c.b, !c.equal);
}

constexpr GUID kBase = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

INSTANTIATE_TEST_SUITE_P(
    Fields, GuidCompare,
    ::testing::Values(
        GuidCase{"Same", kBase, IID_IDispatch, true},
        GuidCase{"Data1", kBase, {0x00020401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}, false},
        GuidCase{"Data2", kBase, {0x00020400, 1, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}, false},
        GuidCase{"Data3", kBase, {0x00020400, 0, 1, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}, false},
        GuidCase{"LastByte", kBase, {0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x47}}, false},
        GuidCase{"UnknownVersusDispatch", IID_IUnknown, IID_IDispatch, false}));

// Arrays as automation passes them: SlideIDs answers one, NamedSlideShows.Add takes one.
TEST(SafeArray, VectorOfIntegers_KeepsItsBoundsAndCopiesDeeplyInAVariant) {
    SAFEARRAY* ids = SafeArrayCreateVector(VT_I4, 1, 3);
    ASSERT_NE(ids, nullptr);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(ids, &data), S_OK);
    EXPECT_EQ(SafeArrayDestroy(ids), DISP_E_ARRAYISLOCKED);
    for (LONG index = 0; index < 3; ++index) {
        static_cast<LONG*>(data)[index] = 256 + index;
    }
    ASSERT_EQ(SafeArrayUnaccessData(ids), S_OK);

    UniqueVariant holder;
    holder.Get()->vt = static_cast<VARTYPE>(VT_ARRAY | VT_I4);
    holder.Get()->parray = ids;
    UniqueVariant copy;
    ASSERT_EQ(VariantCopy(copy.Get(), holder.Get()), S_OK);
    ASSERT_NE(copy->parray, ids);
    VARTYPE vt = VT_EMPTY;
    LONG lower = 0;
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetDim(copy->parray), 1u);
    EXPECT_EQ(SafeArrayGetVartype(copy->parray, &vt), S_OK);
    EXPECT_EQ(vt, VT_I4);
    EXPECT_EQ(SafeArrayGetLBound(copy->parray, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(copy->parray, 1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 3);
    EXPECT_EQ(SafeArrayGetLBound(copy->parray, 2, &lower), DISP_E_BADINDEX);
    ASSERT_EQ(SafeArrayAccessData(copy->parray, &data), S_OK);
    EXPECT_EQ(static_cast<LONG*>(data)[2], 258);
    EXPECT_EQ(SafeArrayUnaccessData(copy->parray), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(copy->parray), E_UNEXPECTED);
}

TEST(SafeArray, VectorOfVariants_StartsEmptyAndClearsItsElements) {
    SAFEARRAY* names = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    ASSERT_NE(names, nullptr);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(names, &data), S_OK);
    auto* elements = static_cast<VARIANT*>(data);
    EXPECT_EQ(elements[1].vt, VT_EMPTY);
    elements[0].vt = VT_BSTR;  // freed with the array, as the sanitizer builds check
    elements[0].bstrVal = SysAllocString(L"Short");
    ASSERT_EQ(SafeArrayUnaccessData(names), S_OK);
    EXPECT_EQ(SafeArrayDestroy(names), S_OK);
}

}  // namespace
