#include "capture/structured_text.h"
#include "capture/structured_types.h"

#include "qt_printers.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

TEST(StructuredValueText, DecodesReferencesThenCollapsesWhiteSpace) {
    const struct {
        const char* text;
        const char* value;
    } cases[] = {
        {"Fish &amp; Chips", "Fish & Chips"},
        {"Caf&eacute; &lt;b&gt; &quot;x&quot; &apos;y&#39;", "Café <b> \"x\" 'y'"},
        {"&#x26;&#X26;&#38; &#x1F41F;", "&&& \U0001F41F"},
        {"&#0; &#xD800; &#x110000; &#9999999;", "\uFFFD \uFFFD \uFFFD \uFFFD"},
        {"&amp;amp; stays one level", "&amp; stays one level"},
        {"&nosuch; &amp &#; &#x; &#12a; & ;", "&nosuch; &amp &#; &#x; &#12a; & ;"},
        {"&verylongname; &", "&verylongname; &"},
        {"  two\n\t lines&nbsp;and&#160;blanks  ", "two lines and blanks"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(structuredValueText(QString::fromUtf8(c.text)), QString::fromUtf8(c.value))
            << c.text;
    }
}

TEST(SchemaTypes, NamesAsPagesWriteThem) {
    const struct {
        const char* written;
        const char* name;
    } cases[] = {
        {"Restaurant", "Restaurant"},
        {"http://schema.org/Restaurant", "Restaurant"},
        {"https://schema.org/Restaurant", "Restaurant"},
        {"HTTPS://www.schema.org/Restaurant", "Restaurant"},
        {"schema:Restaurant", "Restaurant"},
        {" Restaurant ", "Restaurant"},
        {"http://example.org/vocab/Restaurant", ""},
        {"gr:Restaurant", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(schemaTypeName(QString::fromUtf8(c.written)), QString::fromUtf8(c.name))
            << c.written;
    }
}

TEST(SchemaTypes, TypeNamesAsWords) {
    const struct {
        const char* name;
        const char* words;
    } cases[] = {
        {"Restaurant", "Restaurant"},           {"AutoRepair", "Auto Repair"},
        {"HVACBusiness", "HVAC Business"},      {"CafeOrCoffeeShop", "Cafe Or Coffee Shop"},
        {"TelevisionStation", "Television Station"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(typeNameAsWords(QString::fromUtf8(c.name)), QString::fromUtf8(c.words));
    }
}

TEST(SchemaTypes, KindAndMostSpecificComeFromTheShippedList) {
    const SchemaOrganizationTypes& types = SchemaOrganizationTypes::shipped();
    const struct {
        const char* type;
        bool localBusiness;
        bool organization;
    } kinds[] = {
        {"LocalBusiness", true, true}, {"Dentist", true, true},       {"Plumber", true, true},
        {"Organization", false, true}, {"Corporation", false, true}, {"Person", false, false},
        {"Place", false, false},       {"Nothing", false, false},
    };
    for (const auto& kind : kinds) {
        EXPECT_EQ(types.isLocalBusiness(kind.type), kind.localBusiness) << kind.type;
        EXPECT_EQ(types.isOrganization(kind.type), kind.organization) << kind.type;
    }
    EXPECT_EQ(types.mostSpecific({"LocalBusiness", "Dentist"}), "Dentist");
    EXPECT_EQ(types.mostSpecific({"Restaurant", "FoodEstablishment", "LocalBusiness"}),
              "Restaurant");
    EXPECT_EQ(types.mostSpecific({"Place", "Person"}), "");
}

TEST(SchemaTypes, DepthFollowsTheLongestWayUp) {
    // B is directly below Organization and below A, which is below Organization: B is the more
    // specific. A circle in a broken list settles no type of the circle.
    const SchemaOrganizationTypes types({{"Organization"},
                                         {"A", "Organization"},
                                         {"B", "Organization", "A"},
                                         {"LocalBusiness", "Organization"},
                                         {"C", "D"},
                                         {"D", "C"}});
    EXPECT_EQ(types.mostSpecific({"B", "A"}), "B");
    EXPECT_EQ(types.mostSpecific({"A", "LocalBusiness"}), "A");
    EXPECT_FALSE(types.isOrganization("C"));
}

}  // namespace
}  // namespace larkspan
