#include "capture/capture_profile.h"

#include "capture/profile_error.h"
#include "capture/profile_folder.h"
#include "capture/profile_listings.h"
#include "capture/profile_reader.h"
#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

const QString kFile = QStringLiteral("harbour.json");

// The profile of the README, with one key replaced or added at a time below.
const char* const kHarbour = R"({
  "name": "Harbour directory",
  "matches": ["https://www.example.com.au/search*"],
  "listing": "article.result",
  "fields": {
    "name": "h2 a",
    "phone": ".phone",
    "website": {"selector": "a.site", "attribute": "href"},
    "postcode": {"selector": ".addr", "pattern": "\\b(\\d{4})$"},
    "listing_page": {"selector": "h2 a", "attribute": "href"}
  },
  "next": {"selector": "a[rel=next]"}
})";

QByteArray harbourWith(const char* key, const char* value) {
    QJsonObject profile = QJsonDocument::fromJson(kHarbour).object();
    if (value == nullptr) {
        profile.remove(QLatin1String(key));
    } else {
        profile.insert(QLatin1String(key),
                       QJsonDocument::fromJson(QByteArray("[") + value + "]").array().at(0));
    }
    return QJsonDocument(profile).toJson();
}

QString errorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const ProfileError& error) {
        return QString::fromUtf8(error.what());
    }
    return QStringLiteral("(no error)");
}

QString readError(const QByteArray& content) {
    return errorOf([&] { readCaptureProfile(content, kFile); });
}

TEST(ProfileReader, ReadsTheReadmeProfile) {
    const CaptureProfile profile = readCaptureProfile(kHarbour, kFile);
    EXPECT_EQ(profile.name(), "Harbour directory");
    EXPECT_EQ(profile.file(), kFile);
    EXPECT_EQ(profile.content(), QByteArray(kHarbour));
    ASSERT_EQ(profile.matches().size(), 1);
    EXPECT_EQ(profile.matches()[0].text(), "https://www.example.com.au/search*");
    EXPECT_EQ(profile.listingSelector(), "article.result");
    EXPECT_EQ(profile.next().kind, NextLinkRule::Kind::Selector);
    EXPECT_EQ(profile.next().value, "a[rel=next]");
    EXPECT_EQ(profile.waitFor(), "");

    QStringList rules;
    for (const auto& rule : profile.fields()) {
        rules.append(rule ? rule->selector() + u'|' + rule->attribute() : QStringLiteral("-"));
    }
    EXPECT_EQ(rules, QStringList({"h2 a|", ".phone|", "-", "-", ".addr|", "-", "-", "-", "-",
                                  "a.site|href", "-", "-", "-", "h2 a|href"}));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The README's example is the sample site's profile, so what people copy is known to read.
TEST(ProfileReader, ReadmeExampleIsTheSampleProfile) {
    const QString sample = QStringLiteral(LARKSPAN_SOURCE_DIR "/samples/profiles/plain.json");
    const QByteArray readme = readFile(QStringLiteral(LARKSPAN_SOURCE_DIR "/README.md"));
    const qsizetype section = readme.indexOf("## Capture profiles");
    const qsizetype start = readme.indexOf("```json\n", section) + 8;
    ASSERT_GT(section, 0);
    EXPECT_EQ(readme.mid(start, readme.indexOf("```", start) - start), readFile(sample));
    EXPECT_EQ(readCaptureProfileFile(sample).name(), "Stonefruit Trades Guide");
}

TEST(ProfileReader, NextLinkAndWaitForChoices) {
    struct Case {
        const char* next;
        NextLinkRule::Kind kind;
        QString value;
    };
    const Case cases[] = {
        {nullptr, NextLinkRule::Kind::Directory, ""},
        {R"({"text": "Older listings »"})", NextLinkRule::Kind::Text, "Older listings »"},
        {R"({"selector": ".pager a.next"})", NextLinkRule::Kind::Selector, ".pager a.next"},
    };
    for (const Case& c : cases) {
        const CaptureProfile profile = readCaptureProfile(harbourWith("next", c.next), kFile);
        EXPECT_EQ(profile.next().kind, c.kind) << c.next;
        EXPECT_EQ(profile.next().value, c.value) << c.next;
    }
    EXPECT_EQ(readCaptureProfile(harbourWith("wait_for", "\"#results li\""), kFile).waitFor(),
              "#results li");
    EXPECT_TRUE(readCaptureProfile(harbourWith("matches", nullptr), kFile).matches().isEmpty());
}

TEST(ProfileReader, RefusesWhatIsWrongNamingFileAndPlace) {
    struct Case {
        QByteArray content;
        QString error;
    };
    const QString fieldNames = QStringLiteral(
        "(known: name, phone, email, street, postcode, city, state, heading, description, "
        "website, longitude, latitude, map_link, listing_page)");
    const QByteArray minimal = R"("name": "H", "listing": "li", )";
    const Case cases[] = {
        {"{\n  \"name\": \"x\",\n  \"listing\" \"a\"\n}",
         "harbour.json: line 3, column 14: missing name separator"},
        {"{\"listing\": \"li\",\r\n \"name\": \"Caf\xC3\xA9 \xC3\x91\x61nd\xC3\xBA\" \"x\"}",
         "harbour.json: line 2, column 24: unterminated object"},
        {"\xEF\xBB\xBF{\"name\": 1,,}", "harbour.json: line 1, column 13: unterminated object"},
        {"", "harbour.json: line 1, column 1: illegal value"},
        {"[{\"name\": \"x\"}]", "harbour.json: a profile must be an object, not a list"},
        {harbourWith("nxt", "{}"),
         "harbour.json: nxt: unknown key (known: name, matches, listing, fields, next, "
         "wait_for)"},
        {harbourWith("name", nullptr), "harbour.json: name: missing"},
        {harbourWith("name", "true"), "harbour.json: name: must be a string, not true"},
        {harbourWith("listing", nullptr), "harbour.json: listing: missing"},
        {harbourWith("listing", "3"), "harbour.json: listing: must be a string, not a number"},
        {harbourWith("listing", "\" \""), "harbour.json: listing: must not be empty"},
        {harbourWith("matches", "\"https://x/*\""),
         "harbour.json: matches: must be a list of addresses, not a string"},
        {harbourWith("matches", R"(["https://x/*", null])"),
         "harbour.json: matches[1]: must be a string, not null"},
        {harbourWith("fields", nullptr), "harbour.json: fields: missing"},
        {harbourWith("fields", "[]"), "harbour.json: fields: must be an object, not a list"},
        {harbourWith("fields", "{}"), "harbour.json: fields: must name at least one field"},
        {harbourWith("fields", R"({"name": "h2", "fax": ".fax"})"),
         "harbour.json: fields.fax: unknown field " + fieldNames},
        {harbourWith("fields", R"({"phone": [".phone"]})"),
         "harbour.json: fields.phone: must be a selector or an object, not a list"},
        {harbourWith("fields", R"({"phone": {"attribute": "href"}})"),
         "harbour.json: fields.phone.selector: missing"},
        {harbourWith("fields", R"({"phone": {"selector": ".p", "atribute": "href"}})"),
         "harbour.json: fields.phone.atribute: unknown key (known: selector, attribute, "
         "pattern)"},
        {harbourWith("fields", R"({"phone": {"selector": ".p", "attribute": false}})"),
         "harbour.json: fields.phone.attribute: must be a string, not false"},
        {harbourWith("fields", R"({"postcode": {"selector": ".addr", "pattern": "\\b(\\d{4}$"}})"),
         "harbour.json: fields.postcode.pattern: missing closing parenthesis at offset 9"},
        {harbourWith("fields", R"({"city": {"selector": ".addr", "pattern": "a{2,1}"}})"),
         "harbour.json: fields.city.pattern: numbers out of order in {} quantifier at offset 5"},
        {harbourWith("next", R"({"selector": "a", "text": "Next"})"),
         "harbour.json: next: takes selector or text, not both"},
        {harbourWith("next", "{}"), "harbour.json: next: needs selector or text"},
        {harbourWith("next", R"({"link": "a"})"),
         "harbour.json: next.link: unknown key (known: selector, text)"},
        {harbourWith("next", "\"a[rel=next]\""),
         "harbour.json: next: must be an object, not a string"},
        {harbourWith("wait_for", "\"\""), "harbour.json: wait_for: must not be empty"},
        {"{" + minimal + R"("fields": {"name": {"selector": "h2", "pattern": ""}}})",
         "harbour.json: fields.name.pattern: must not be empty"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readError(c.content), c.error) << c.content.toStdString();
    }
}

TEST(ProfileReader, SelectorsGoToTheEnginesValidatorWithTheirKeys) {
    const CaptureProfile profile =
        readCaptureProfile(harbourWith("wait_for", "\"#results\""), kFile);
    QStringList asked;
    const auto rejecting = [&asked](const QString& rejected) {
        return [&asked, rejected](const QString& selector) -> std::optional<QString> {
            asked.append(selector);
            if (selector != rejected) {
                return std::nullopt;
            }
            return u'\'' + selector + QStringLiteral("' is not a valid selector");
        };
    };
    EXPECT_EQ(errorOf([&] { profile.checkSelectors(rejecting(QString())); }), "(no error)");
    EXPECT_EQ(asked, QStringList({"article.result", "h2 a", ".phone", ".addr", "a.site", "h2 a",
                                  "a[rel=next]", "#results"}));
    struct Case {
        QString rejected;
        QString error;
    };
    const Case cases[] = {
        {"article.result", "harbour.json: listing: 'article.result' is not a valid selector"},
        {".phone", "harbour.json: fields.phone: '.phone' is not a valid selector"},
        {"a.site", "harbour.json: fields.website.selector: 'a.site' is not a valid selector"},
        {"a[rel=next]", "harbour.json: next.selector: 'a[rel=next]' is not a valid selector"},
        {"#results", "harbour.json: wait_for: '#results' is not a valid selector"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorOf([&] { profile.checkSelectors(rejecting(c.rejected)); }), c.error);
    }
}

TEST(ProfileReader, FilesTooLargeOrUnreadableAreRefused) {
    QTemporaryDir dir;
    const QString large = dir.filePath(QStringLiteral("large.json"));
    QFile file(large);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1024 * 1024 + 1, ' '));
    file.close();
    const QString missing = dir.filePath(QStringLiteral("missing.json"));
    EXPECT_EQ(errorOf([&] { readCaptureProfileFile(large); }),
              large + ": larger than 1 MiB, too large for a profile");
    EXPECT_EQ(errorOf([&] { readCaptureProfileFile(missing); }),
              "cannot read " + missing + ": No such file or directory");
    EXPECT_EQ(errorOf([&] { readCaptureProfileFile(dir.path()); }),
              "cannot read " + dir.path() + ": file to open is a directory");
}

// Rendered text and attribute values are cut down the same way.
TEST(ProfileFieldRule, CollapsesWhiteSpaceThenTakesThePatternsGroupOrMatch) {
    struct Case {
        const char* pattern;
        QString found;
        QString value;
    };
    const Case cases[] = {
        {nullptr, "  Harbour\n  Lane\tBakery ", "Harbour Lane Bakery"},
        {nullptr, "\u00A0(02) 9251 4410\u00A0", "(02) 9251 4410"},
        {nullptr, "", ""},
        {R"(\b(\d{4})$)", "112 Kent St,\n Sydney NSW 2000\n", "2000"},
        {R"(\b(\d{4})$)", "Sydney NSW", ""},
        {R"(Phone:(.*))", "Phone:   02 9251 4410", "02 9251 4410"},
        {R"([A-Z]{2,3})", "Sydney NSW 2000", "NSW"},
        {R"((x)?abc)", "abc", ""},
        {R"((?i)^mailto:(.+))", "MAILTO:hello@example.com.au", "hello@example.com.au"},
    };
    for (const Case& c : cases) {
        const QString text = c.pattern ? QString::fromUtf8(c.pattern) : QString();
        const QByteArray rule =
            c.pattern ? QJsonDocument(QJsonObject{{"selector", ".x"}, {"pattern", text}}).toJson()
                      : QByteArray("\".x\"");
        const CaptureProfile profile = readCaptureProfile(
            R"({"name": "N", "listing": "li", "fields": {"street": )" + rule + "}}", kFile);
        EXPECT_EQ(profile.fields()[3]->valueOf(c.found), c.value) << c.found.toStdString();
    }
}

TEST(ProfileListings, MakesResultLinesAndADigestOfWhatThePageGave) {
    const CaptureProfile profile = readCaptureProfile(kHarbour, kFile);
    const auto found = [](const char* json) { return QJsonDocument::fromJson(json).array(); };
    const QJsonArray page = found(R"([
        {"name": " Harbour  Lane\nBakery ", "phone": "(02) 9251 4410",
         "postcode": "112 Kent St, Sydney NSW 2000", "website": "http://bakery.example/",
         "listing_page": "http://d.example/l/1", "email": "not named, not read"},
        {"name": null, "phone": null},
        {},
        "no listing",
        {"name": "The \"Local\" Tap House", "postcode": "Sydney"}
    ])");
    const ProfileListings listings = profileListings(profile, page);
    EXPECT_EQ(listings.resultLines,
              QStringList({R"("Harbour Lane Bakery","(02) 9251 4410","","","2000","","","","",)"
                           R"("http://bakery.example/","","","","http://d.example/l/1")",
                           R"("The ""Local"" Tap House","","","","","","","","","","","","","")"}));
    EXPECT_EQ(listings.digest.size(), 32);
    EXPECT_EQ(profileListings(profile, page).digest, listings.digest);
    EXPECT_NE(profileListings(profile, found(R"([{"name": "Harbour Lane Bakery"}])")).digest,
              listings.digest);
    // A page without listing elements is like any other such page: never known again.
    const ProfileListings none = profileListings(profile, QJsonArray());
    EXPECT_TRUE(none.resultLines.isEmpty());
    EXPECT_TRUE(none.digest.isEmpty());
}

TEST(ProfileAddressPattern, StarsStandForAnyTextAndCaseDoesNotMatter) {
    struct Case {
        QString pattern;
        QUrl address;
        bool matches;
    };
    const Case cases[] = {
        {"https://www.example.com.au/search*",
         QUrl("https://www.example.com.au/search?q=plumbers&page=2"), true},
        {"https://www.example.com.au/search*", QUrl("https://www.example.com.au/listing/1"), false},
        {"https://www.example.com.au/search*", QUrl("http://www.example.com.au/search"), false},
        {"HTTPS://WWW.Example.com.au/*", QUrl("https://www.example.com.au/x"), true},
        {"*example.com*", QUrl("http://www.example.com/"), true},
        {"https://a.example/*/page*.html", QUrl("https://a.example/x/page2.html"), true},
        {"https://a.example/*/page*.html", QUrl("https://a.example/page2.html"), false},
        {"https://a.example/", QUrl("https://a.example/x"), false},
        {"https://a.example/*", QUrl("https://a.example/"), true},
        {"*a*a*", QUrl("xa"), false},
        {"https://a.example/caf%C3%A9*", QUrl("https://a.example/café/1"), true},
        {"https://a.example/café*", QUrl("https://a.example/caf%C3%A9/1"), true},
        {"*/samples/plain/*", QUrl::fromLocalFile("/home/u/samples/plain/page1.html"), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProfileAddressPattern(c.pattern).matches(c.address), c.matches)
            << c.pattern.toStdString() << " " << c.address.toString().toStdString();
    }
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ProfileFolder, SavedProfilesByNameOrFile) {
    QTemporaryDir dir;
    ProfileFolder folder(dir.path());
    EXPECT_TRUE(folder.readAll().profiles.isEmpty());
    writeFile(dir.filePath("harbour.json"), kHarbour);
    writeFile(dir.filePath("broken.json"), "{\"name\": \"B\"}");
    writeFile(dir.filePath("notes.txt"), "not a profile");
    writeFile(
        dir.filePath("any.json"),
        R"({"name": "Anything", "matches": ["*"], "listing": "li", "fields": {"name": "a"}})");

    const SavedProfiles saved = folder.readAll();
    ASSERT_EQ(saved.profiles.size(), 2);
    EXPECT_EQ(saved.profiles[0].name(), "Anything");
    EXPECT_EQ(saved.profiles[1].file(), dir.filePath("harbour.json"));
    EXPECT_EQ(saved.errors, QStringList{dir.filePath("broken.json") + ": listing: missing"});
    EXPECT_EQ(saved.matching(QUrl("https://www.example.com.au/search?q=x"))->name(), "Anything");
    const SavedProfiles harbourOnly{{saved.profiles[1]}, {}};
    EXPECT_EQ(harbourOnly.matching(QUrl("https://elsewhere/")), nullptr);

    EXPECT_EQ(folder.find("harbour").name(), "Harbour directory");
    EXPECT_EQ(folder.find(dir.filePath("any.json")).name(), "Anything");
    EXPECT_EQ(errorOf([&] { folder.find("harbor"); }),
              "no saved profile 'harbor' in " + dir.path());
    EXPECT_EQ(errorOf([&] { folder.find("harbour.json"); }),
              "cannot read harbour.json: No such file or directory");
}

// A profile saved under a name is the one found by that name; a name that is no file name, or
// would leave the folder, is refused and writes nothing.
TEST(ProfileFolder, SavesUnderAName) {
    QTemporaryDir dir;
    const ProfileFolder folder(dir.filePath(QStringLiteral("made/on/save")));
    const QByteArray content = R"({"name": "Tiles", "listing": ".tile", "fields": {"name": "h3"}})";
    EXPECT_EQ(folder.save(QStringLiteral("tiles"), content),
              dir.filePath(QStringLiteral("made/on/save/tiles.json")));
    EXPECT_EQ(folder.find(QStringLiteral("tiles")).content(), content);

    for (const QString& name : {QStringLiteral(""), QStringLiteral(" "), QStringLiteral(".hidden"),
                                QStringLiteral("../up"), QStringLiteral("a\\b")}) {
        EXPECT_THROW(folder.save(name, content), ProfileError) << name.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("tiles.json")});
}

TEST(ProfileFolder, FollowsAnAbsoluteConfigHome) {
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    struct Case {
        QByteArray configHome;
        QString folder;
    };
    const Case cases[] = {
        {"/tmp/config-home", "/tmp/config-home/larkspan/profiles"},
        {"config-home", QDir::homePath() + "/.config/larkspan/profiles"},
    };
    for (const Case& c : cases) {
        qputenv("XDG_CONFIG_HOME", c.configHome);
        EXPECT_EQ(ProfileFolder::defaultPath(), c.folder);
    }
    if (wasSet) {
        qputenv("XDG_CONFIG_HOME", before);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace larkspan
