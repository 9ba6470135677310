// Settings changed by name: every argument checked first, values as the file holds them.
#include "program/setting_arguments.h"

#include <gtest/gtest.h>

#include "core/cipher.h"

namespace morvela {
namespace {

TEST(SettingArgumentsTest, GoodValuesBecomeTheFilesTexts) {
  struct Case {
    std::string argument;
    std::string section, key, text;
  };
  const Case cases[] = {
      {"Dni=14", "Liga", "Dni", "14"},
      {"dni=0", "Liga", "Dni", "0"},
      {"DNI=365", "Liga", "Dni", "365"},
      {"3tip=false", "Liga", "3tip", "0"},
      {"3TIP=1", "Liga", "3tip", "1"},
      {"Dbf=1", "Update", "Dbf", "1"},
      {"App=0", "Update", "App", "0"},
      {"Lang=de", "Jazyk", "Lang", "2"},
      {"Lang=IT", "Jazyk", "Lang", "4"},
      {"Lang=3", "Jazyk", "Lang", "3"},
      {"Server=http://example.org/morvela", "Update", "Server", "http://example.org/morvela/"},
      {"Server=HTTPS://example.org:8443/", "Update", "Server", "HTTPS://example.org:8443/"},
      {"Server=", "Update", "Server", "http://updates.morvela.invalid/"},
      {"User=", "Update", "User", ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.argument);
    const SettingChanges c = ParseSettingArguments({k.argument});
    ASSERT_EQ(c.error, "");
    ASSERT_EQ(c.values.size(), 1u);
    EXPECT_EQ(c.values[0].section, k.section);
    EXPECT_EQ(c.values[0].key, k.key);
    EXPECT_EQ(c.values[0].text, k.text);
  }
  // Credentials are stored enciphered; "=" inside a value belongs to the value.
  const SettingChanges c = ParseSettingArguments({"User=maker", "Password=a=b c"});
  ASSERT_EQ(c.values.size(), 2u);
  EXPECT_EQ(DecipherText(c.values[0].text, false), "maker");
  EXPECT_EQ(DecipherText(c.values[1].text, false), "a=b c");
}

TEST(SettingArgumentsTest, OneBadArgumentRejectsThemAllAndIsNamed) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"Dni=366"}, "bad value \"366\" for Dni: a whole number of days 0..365"},
      {{"Dni=7", "Dni=-1"}, "bad value \"-1\" for Dni: a whole number of days 0..365"},
      {{"Dni= 7"}, "bad value \" 7\" for Dni: a whole number of days 0..365"},
      {{"3tip=yes"}, "bad value \"yes\" for 3tip: 1 (true) or 0 (false)"},
      {{"Dbf=2"}, "bad value \"2\" for Dbf: 0 (check after start-up) or 1 (manually)"},
      {{"Lang=fr"}, "bad value \"fr\" for Lang: 1..4 or en, de, sk, it"},
      {{"Lang=0"}, "bad value \"0\" for Lang: 1..4 or en, de, sk, it"},
      {{"Server=ftp://x/"},
       "bad value \"ftp://x/\" for Server: an http:// or https:// address "
       "with a host"},
      {{"Server=http://"},
       "bad value \"http://\" for Server: an http:// or https:// address "
       "with a host"},
      {{"Server=http://a b/"},
       "bad value \"http://a b/\" for Server: an http:// or https:// "
       "address with a host"},
      {{"User=a:b"}, "bad value \"a:b\" for User: a user name cannot hold \":\""},
      // A refused password is not repeated.
      {{"Password=x\ny"}, "bad value for Password: control characters are not allowed"},
      {{"Dni=7", "Colour=red"},
       "unknown setting \"Colour\" (known: Dni, 3tip, Dbf, App, Lang, Server, User, Password)"},
      {{"W7=1"},
       "unknown setting \"W7\" (known: Dni, 3tip, Dbf, App, Lang, Server, User, Password)"},
      {{"Dni"}, "\"Dni\" is not KEY=VALUE"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.error);
    const SettingChanges c = ParseSettingArguments(k.arguments);
    EXPECT_EQ(c.error, k.error);
    EXPECT_TRUE(c.values.empty());
  }
}

}  // namespace
}  // namespace morvela
