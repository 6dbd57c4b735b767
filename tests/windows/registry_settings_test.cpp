// The registry settings store and the ANSI conversions it depends on.

#include "Check.h"
#include "TestEnvironment.h"

#include "platform/windows/AnsiText.h"
#include "platform/windows/RegistrySettings.h"

namespace settings = win::settings;

namespace {

// "Žluťoučký kůň úpěl ďábelské ódy" as code page 1250 writes it.
const std::string czechInCp1250 = "\x8e"
                                  "lu\x9d"
                                  "ou\xe8"
                                  "k\xfd"
                                  " k\xf9\xf2"
                                  " \xfa"
                                  "p\xec"
                                  "l \xef\xe1"
                                  "belsk\xe9"
                                  " \xf3"
                                  "dy";

void ansiConversionUsesCodePage1250()
{
    // The test script starts Wine in a Czech locale; every Czech check below relies on it.
    CHECK_EQ(GetACP(), 1250u);

    const std::wstring czech = L"Žluťoučký kůň úpěl ďábelské ódy";
    CHECK_EQ(win::wideToAnsi(czech), std::optional<std::string>(czechInCp1250));
    CHECK(win::ansiToWide(czechInCp1250) == czech);

    CHECK_EQ(win::wideToAnsi(L""), std::optional<std::string>(""));
    CHECK(win::ansiToWide("").empty());

    // Characters 1250 does not have are refused, not replaced by '?' or a look-alike.
    CHECK(!win::wideToAnsi(L"kolekce 日本").has_value());
    CHECK(!win::wideToAnsi(L"Ā").has_value());
}

void textsSurviveTheRoundTrip()
{
    const std::string app = "tapetor-roundtrip";
    settings::deleteApp(app);

    CHECK(settings::write(app, "options", "interval", "60"));
    CHECK_EQ(settings::read(app, "options", "interval"), std::optional<std::string>("60"));

    // An empty text is stored as such and stays distinguishable from an absent key.
    CHECK(settings::write(app, "options", "kolekce", ""));
    CHECK_EQ(settings::read(app, "options", "kolekce"), std::optional<std::string>(""));
    CHECK_EQ(settings::read(app, "options", "missing"), std::optional<std::string>());

    // Longer than the first read buffer, so the read has to grow it.
    std::string longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += "C:\\Tapety\\obrazek" + std::to_string(i) + ".bmp;";
    CHECK(settings::write(app, "options", "long", longText));
    CHECK_EQ(settings::read(app, "options", "long"), std::optional<std::string>(longText));

    CHECK(settings::write(app, "options", "czech", czechInCp1250));
    CHECK_EQ(settings::read(app, "options", "czech"), std::optional<std::string>(czechInCp1250));
    // Stored as one REG_SZ value in HKCU\Software\<app>\<section>.
    CHECK_EQ(registryString(HKEY_CURRENT_USER, "Software\\" + app + "\\options", "czech"),
             std::optional<std::string>(czechInCp1250));

    // Writing again replaces the text; other sections keep their own keys.
    CHECK(settings::write(app, "options", "interval", "1.5"));
    CHECK(settings::write(app, "uss3", "interval", "other"));
    CHECK_EQ(settings::read(app, "options", "interval"), std::optional<std::string>("1.5"));
    CHECK_EQ(settings::read(app, "uss3", "interval"), std::optional<std::string>("other"));

    settings::deleteApp(app);
}

void absentPlacesReadAsAbsent()
{
    CHECK_EQ(settings::read("tapetor-never-written", "options", "run"), std::optional<std::string>());
    CHECK(settings::write("tapetor-absent", "options", "run", "1"));
    CHECK_EQ(settings::read("tapetor-absent", "uss3", "run"), std::optional<std::string>());

    // A value of another type is not a text of this store.
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\tapetor-absent\\options", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                    nullptr);
    const DWORD number = 1;
    RegSetValueExA(key, "dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
    CHECK_EQ(settings::read("tapetor-absent", "options", "dword"), std::optional<std::string>());

    settings::deleteApp("tapetor-absent");
}

void deleteAppRemovesOnlyItsOwnTree()
{
    settings::deleteApp("tapetor");
    settings::deleteApp("tapetorX");
    CHECK(settings::write("tapetor", "options", "run", "1"));
    CHECK(settings::write("tapetor", "uss3", "major", "3"));
    CHECK(settings::write("tapetorX", "options", "run", "0"));

    CHECK(settings::deleteApp("tapetor"));
    CHECK(!registryKeyExists(HKEY_CURRENT_USER, "Software\\tapetor"));
    CHECK_EQ(settings::read("tapetor", "options", "run"), std::optional<std::string>());
    CHECK_EQ(settings::read("tapetorX", "options", "run"), std::optional<std::string>("0"));

    // Deleting what is already gone succeeds.
    CHECK(settings::deleteApp("tapetor"));

    settings::deleteApp("tapetorX");
}

void namesThatAreNotOneKeyAreRefused()
{
    CHECK(settings::write("tapetor-guard", "options", "run", "1"));

    // An empty application would make deleteApp wipe all of HKCU\Software.
    CHECK(!settings::deleteApp(""));
    CHECK(!settings::deleteApp("tapetor-guard\\options"));
    CHECK_EQ(settings::read("tapetor-guard", "options", "run"), std::optional<std::string>("1"));

    CHECK(!settings::write("", "options", "run", "1"));
    CHECK(!settings::write("tapetor-guard", "", "run", "1"));
    CHECK(!settings::write("tapetor-guard", "options\\deeper", "run", "1"));
    CHECK(!registryKeyExists(HKEY_CURRENT_USER, "Software\\tapetor-guard\\options\\deeper"));
    CHECK_EQ(settings::read("", "options", "run"), std::optional<std::string>());

    settings::deleteApp("tapetor-guard");
}

} // namespace

int main()
{
    if (!mayChangeThisDesktop("registry_settings_test"))
        return skipExitCode;
    ansiConversionUsesCodePage1250();
    textsSurviveTheRoundTrip();
    absentPlacesReadAsAbsent();
    deleteAppRemovesOnlyItsOwnTree();
    namesThatAreNotOneKeyAreRefused();
    return check::result("registry_settings_test");
}
