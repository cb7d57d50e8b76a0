// Host operations, one case per row, run against the simulated host natively and against the real
// API (under Wine) in the Windows build.
#include <gtest/gtest.h>

#include <string>

#include "tests/host_fixture.h"

namespace {

using hosttest::kScratchKey;

struct QueryCase;
void PrintTo(const QueryCase& c, std::ostream* os);

HKEY OpenScratch() {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_ALL_ACCESS, &key));
  return key;
}

// Stores exactly `bytes`. The byte after them in memory is not zero: Windows stores a string's
// terminator even when the size leaves it out if it finds one there.
void Store(HKEY key, const char* name, DWORD type, const std::string& bytes) {
  const std::string data = bytes + "X";
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(bytes.size())));
}

std::string Bytes(const char* s, size_t n) {
  return std::string(s, n);
}

// ---- RegQueryValueExA: stored bytes and buffer sizes ------------------------------------------

struct QueryCase {
  const char* name;
  DWORD stored_type;
  std::string stored;      // bytes stored exactly
  const char* query_name;  // value name asked for
  bool pass_buffer;        // false: data pointer NULL
  DWORD capacity;          // size given
  LONG rc;
  DWORD size_after;
  bool check_buffer;  // compare the buffer (capacity + 1 bytes, 0xCC where unwritten)
  std::string buffer_after;
};

void PrintTo(const QueryCase& c, std::ostream* os) {
  *os << c.name;
}

class RegQuery : public ::testing::TestWithParam<QueryCase> {};

const unsigned char kSentinel = 0xCC;
std::string Sentinels(size_t n) {
  return std::string(n, static_cast<char>(kSentinel));
}

TEST_P(RegQuery, ReturnsCodeSizeAndBytes) {
  const QueryCase& c = GetParam();
  hosttest::ResetScratch();
  HKEY key = OpenScratch();
  Store(key, "DIC0", c.stored_type, c.stored);
  std::string buffer = Sentinels(c.capacity + 1);
  DWORD type = 0xDEAD;
  DWORD size = c.capacity;
  LONG rc = RegQueryValueExA(key, c.query_name, nullptr, &type,
                             c.pass_buffer ? reinterpret_cast<BYTE*>(&buffer[0]) : nullptr, &size);
  EXPECT_EQ(c.rc, rc);
  EXPECT_EQ(c.size_after, size);
  if (rc == ERROR_SUCCESS) {
    EXPECT_EQ(c.stored_type, type);
  }
  if (c.check_buffer) {
    EXPECT_EQ(c.buffer_after, buffer);
  }
  RegCloseKey(key);
}

const std::string kAbcdef = Bytes("abcdef\0", 7);
const std::string kPath932 = "C:\\表\\ソフト\\辞書.dic" + std::string(1, '\0');

INSTANTIATE_TEST_SUITE_P(
    Table, RegQuery,
    ::testing::Values(
        QueryCase{"StringFits", REG_SZ, kAbcdef, "DIC0", true, 64, 0, 7, true,
                  kAbcdef + Sentinels(58)},
        QueryCase{"StringExactFit", REG_SZ, kAbcdef, "DIC0", true, 7, 0, 7, true,
                  kAbcdef + Sentinels(1)},
        // Too small by the terminator: the size needed comes back, the bytes are undefined.
        QueryCase{"StringNoRoomForZero", REG_SZ, kAbcdef, "DIC0", true, 6, ERROR_MORE_DATA, 7,
                  false, ""},
        QueryCase{"ZeroCapacity", REG_SZ, kAbcdef, "DIC0", true, 0, ERROR_MORE_DATA, 7, false, ""},
        QueryCase{"SizeOnly", REG_SZ, kAbcdef, "DIC0", false, 0, 0, 7, false, ""},
        QueryCase{"NameCaseFolds", REG_SZ, kAbcdef, "dic0", true, 64, 0, 7, false, ""},
        QueryCase{"MissingLeavesSizeAndBuffer", REG_SZ, kAbcdef, "DIC1", true, 64,
                  ERROR_FILE_NOT_FOUND, 64, true, Sentinels(65)},
        QueryCase{"MissingSizeOnly", REG_SZ, kAbcdef, "DIC1", false, 64, ERROR_FILE_NOT_FOUND, 0,
                  false, ""},
        // A string stored without a terminator gets one in the buffer, uncounted, when it fits.
        QueryCase{"UnterminatedStringGetsZero", REG_SZ, "abc", "DIC0", true, 64, 0, 3, true,
                  Bytes("abc\0", 4) + Sentinels(61)},
        QueryCase{"UnterminatedStringExactFit", REG_SZ, "abc", "DIC0", true, 3, 0, 3, true,
                  "abc" + Sentinels(1)},
        QueryCase{"EmptyString", REG_SZ, "", "DIC0", true, 8, 0, 0, true, Sentinels(9)},
        QueryCase{"BinaryNotTerminated", REG_BINARY, "abc", "DIC0", true, 8, 0, 3, true,
                  "abc" + Sentinels(6)},
        QueryCase{"BinaryAtLimit", REG_BINARY, std::string(1022, 'x'), "DIC0", true, 1022, 0, 1022,
                  false, ""},
        QueryCase{"BinaryOverLimit", REG_BINARY, std::string(1023, 'x'), "DIC0", true, 1022,
                  ERROR_MORE_DATA, 1023, false, ""},
        QueryCase{"StringOver260", REG_SZ, std::string(260, 'y') + std::string(1, '\0'), "DIC0",
                  true, 260, ERROR_MORE_DATA, 261, false, ""},
        QueryCase{"Cp932DataRoundTrips", REG_SZ, kPath932, "DIC0", true, 64, 0,
                  static_cast<DWORD>(kPath932.size()), true,
                  kPath932 + Sentinels(65 - kPath932.size())}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.name); });

// ---- Keys -------------------------------------------------------------------------------------

TEST(RegKeys, OpenCreateAndNameCase) {
  hosttest::ResetScratch();
  const std::string base = kScratchKey;
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\A").c_str(), 0, KEY_ALL_ACCESS, &key));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\A\\B").c_str(), 0, KEY_ALL_ACCESS, &key));
  DWORD disposition = 0;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\A\\B\\C").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\a\\b\\c").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
  RegCloseKey(key);
  // The parents were created too, and names match whatever their case.
  EXPECT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\a\\B").c_str(), 0, KEY_ALL_ACCESS, &key));
  RegCloseKey(key);
  EXPECT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\A\\B\\").c_str(), 0, KEY_ALL_ACCESS, &key));
  RegCloseKey(key);
  EXPECT_EQ(ERROR_BAD_PATHNAME,
            RegOpenKeyExA(HKEY_CURRENT_USER, ("\\" + base).c_str(), 0, KEY_ALL_ACCESS, &key));
}

TEST(RegKeys, Cp932KeyAndValueNames) {
  hosttest::ResetScratch();
  const std::string sub = std::string(kScratchKey) + "\\ソフト表";
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr));
  Store(key, "辞書ソ", REG_SZ, kPath932);
  RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_ALL_ACCESS, &key));
  char buffer[64];
  DWORD size = sizeof buffer;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "辞書ソ", nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(buffer), &size));
  EXPECT_EQ(kPath932, std::string(buffer, size));
  // ア (83 41) and ヂ (83 61) differ only in a trail byte that looks like an ASCII letter's case.
  size = sizeof buffer;
  Store(key, "ア", REG_SZ, std::string("x", 2));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegQueryValueExA(key, "ヂ", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size));
  RegCloseKey(key);
}

TEST(RegKeys, ReplacingAValueKeepsOnlyTheNewBytesAndType) {
  hosttest::ResetScratch();
  HKEY key = OpenScratch();
  Store(key, "DIC0", REG_SZ, kAbcdef);
  Store(key, "dic0", REG_BINARY, "xy");
  char buffer[16];
  DWORD size = sizeof buffer;
  DWORD type = 0;
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExA(key, "DIC0", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size));
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
  EXPECT_EQ("xy", std::string(buffer, size));
  RegCloseKey(key);
}

// ---- Files ------------------------------------------------------------------------------------

TEST(Files, AttributesAndDeletion) {
  hosttest::ResetScratch();
  const std::string dir = hosttest::ScratchFolder();
  hosttest::WriteFileBytes(dir + "VezDim97.dic", "dic");
  hosttest::MakeFolder(dir + "ソ");
  hosttest::WriteFileBytes(dir + "ソ\\VezDat14.dic", "dic");
  hosttest::MakeFolder(dir + "VezDim98.dic");

  DWORD file = GetFileAttributesA((dir + "vezdim97.DIC").c_str());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, file);
  EXPECT_EQ(0u, file & FILE_ATTRIBUTE_DIRECTORY);
  DWORD folder = GetFileAttributesA((dir + "VezDim98.dic").c_str());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, folder);
  EXPECT_NE(0u, folder & FILE_ATTRIBUTE_DIRECTORY);
  // A 5C trail byte is not a separator: "ソ" + name is a different, missing file.
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "ソ\\VezDat14.dic").c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "ソVezDat14.dic").c_str()));

  SetLastError(0);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "VezDat10.dic").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  SetLastError(0);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "Nope\\VezDat10.dic").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
  // A quoted folder names nothing.
  EXPECT_EQ(
      INVALID_FILE_ATTRIBUTES,
      GetFileAttributesA(("\"" + dir.substr(0, dir.size() - 1) + "\"\\VezDim97.dic").c_str()));

  EXPECT_FALSE(DeleteFileA((dir + "VezDim98.dic").c_str()));  // a folder
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_FALSE(DeleteFileA((dir + "VezDat10.dic").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_TRUE(DeleteFileA((dir + "VEZDIM97.dic").c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "VezDim97.dic").c_str()));

  hosttest::WriteFileBytes(dir + "ro.dic", "dic");
  hosttest::MakeReadOnly(dir + "ro.dic");
  EXPECT_FALSE(DeleteFileA((dir + "ro.dic").c_str()));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "ro.dic").c_str()));
}

TEST(Files, WindowsDirectory) {
  char buffer[261];
  UINT length = GetWindowsDirectoryA(buffer, 260);
  ASSERT_GT(length, 3u);
  ASSERT_LT(length, 260u);
  EXPECT_EQ(std::string(buffer).size(), length);
  EXPECT_EQ(':', buffer[1]);
  EXPECT_EQ('\\', buffer[2]);
  EXPECT_NE('\\', buffer[length - 1]);
  // Too small a buffer: the size needed, terminator included, and an untouched buffer.
  char small[4] = "xyz";
  EXPECT_EQ(length + 1, GetWindowsDirectoryA(small, 3));
  EXPECT_STREQ("xyz", small);
}

// ---- Profile files ----------------------------------------------------------------------------

namespace profiles {

bool RunningUnderWine() {
#ifdef _WIN32
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

// For a row that Wine is known to get wrong (`wine_differs`), Wine must still get it wrong, so a
// new divergence and a fixed one both show up.
void ExpectOnThisHost(bool holds, bool wine_differs, const std::string& what) {
  if (wine_differs && RunningUnderWine()) {
    EXPECT_FALSE(holds) << what << ": a known Wine divergence now behaves as Windows does";
  } else {
    EXPECT_TRUE(holds) << what;
  }
}

enum Call { kInt, kString, kSectionNames, kWrite };

struct ProfileCase {
  const char* name;
  std::string before;  // file bytes; "<none>" for no file, "<folder>" for a folder at the path
  Call call;
  const char* section;
  const char* key;
  const char* text;   // default (kString), value (kWrite)
  int number;         // default (kInt), buffer size (kString, kSectionNames)
  long long result;   // return value (kWrite: TRUE or FALSE)
  std::string out;    // buffer bytes up to result + 1 (kString, kSectionNames)
  std::string after;  // file bytes after a write; "" to leave them unchecked
  bool wine_differs;  // `after` holds on Windows, and Wine rewrites the whole file instead
};

void PrintTo(const ProfileCase& c, std::ostream* os) {
  *os << c.name;
}

class Profile : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(Profile, BehavesAsWindows) {
  const ProfileCase& c = GetParam();
  hosttest::ResetScratch();
  // A file name of its own per row: Wine caches profiles by name within a process.
  const std::string path = hosttest::ScratchFolder() + c.name + ".ini";
  if (c.before == "<folder>") {
    hosttest::MakeFolder(path);
  } else if (c.before != "<none>") {
    hosttest::WriteFileBytes(path, c.before);
  }
  std::string buffer(2048, static_cast<char>(kSentinel));
  long long result = 0;
  switch (c.call) {
    case kInt:
      result =
          static_cast<long long>(GetPrivateProfileIntA(c.section, c.key, c.number, path.c_str()));
      break;
    case kString:
      result = static_cast<long long>(GetPrivateProfileStringA(
          c.section, c.key, c.text, &buffer[0], static_cast<DWORD>(c.number), path.c_str()));
      break;
    case kSectionNames:
      result = static_cast<long long>(
          GetPrivateProfileSectionNamesA(&buffer[0], static_cast<DWORD>(c.number), path.c_str()));
      break;
    case kWrite:
      result = WritePrivateProfileStringA(c.section, c.key, c.text, path.c_str()) ? 1 : 0;
      break;
  }
  EXPECT_EQ(c.result, result);
  if (!c.out.empty()) {
    EXPECT_EQ(c.out, buffer.substr(0, c.out.size()));
  }
  if (!c.after.empty()) {
    std::string bytes;
    hosttest::ReadFileBytes(path, &bytes);
    ExpectOnThisHost(bytes == c.after, c.wine_differs, "file bytes " + bytes);
  }
}

std::string Z(const char* s) {
  return std::string(s) + std::string(1, '\0');
}
std::string L(const char* s, size_t n) {
  return std::string(s, n);
}

const std::string kLearning = "[辞書・学習]\r\n基本辞書セットNo=2\r\n";
const std::string kThreeSections = "[section1]\r\n[section2]\r\n[section3]\r\n";
// Comments, blank lines, spacing and LF line ends: a user's own file.
const std::string kHandMade =
    "; ATOK profile\n[辞書・学習]\n基本辞書セットNo = 2\n\n[辞書セット２]\n補助辞書１ = "
    "C:\\A\\a.dic\n"
    "\n[Other]\nx=1\n";

INSTANTIATE_TEST_SUITE_P(
    Table, Profile,
    ::testing::Values(
        // Matching names.
        ProfileCase{"NamesFoldAsciiCase", "[Dic]\r\nPath=x\r\n", kString, "dIC", "PATH", "d", 16, 1,
                    Z("x"), "", false},
        ProfileCase{"Cp932Names", kLearning, kInt, "辞書・学習", "基本辞書セットNo", nullptr, 10, 2,
                    "", "", false},
        ProfileCase{"TrailBytesAreNotLetters", "[ア]\r\nk=1\r\n", kString, "ヂ", "k", "d", 16, 1,
                    Z("d"), "", false},
        ProfileCase{"BracketTrailByteInASectionName", "[xゾy]\r\nk=v\r\n", kString, "xゾy", "k",
                    "d", 16, 1, Z("v"), "", false},
        ProfileCase{"HalfWidthDigitIsNotFullWidth", "[辞書セット3]\r\nk=v\r\n", kString,
                    "辞書セット３", "k", "", 16, 0, Z(""), "", false},
        // Reading lines and values.
        ProfileCase{"BlanksAroundNamesAndValues", "[ Sec ]\r\n  Key  =  a  b  \r\n", kString, "Sec",
                    "Key", "d", 16, 4, Z("a  b"), "", false},
        ProfileCase{"EmptyValueIsNotTheDefault", "[S]\r\nk=\r\n", kString, "S", "k", "DEF", 16, 0,
                    Z(""), "", false},
        ProfileCase{"MissingKeyGivesTheDefault", "[S]\r\nk=1\r\n", kString, "S", "j", "DEF  ", 16,
                    3, Z("DEF"), "", false},
        ProfileCase{"QuotesAreRemoved", "[S]\r\nk=\"abc\"\r\n", kString, "S", "k", "", 16, 3,
                    Z("abc"), "", false},
        ProfileCase{"FirstOfDuplicateSections", "[S]\r\na=1\r\n[s]\r\nb=2\r\n", kString, "S", "b",
                    "d", 16, 1, Z("d"), "", false},
        ProfileCase{"FirstOfDuplicateKeys", "[S]\r\na=1\r\nA=2\r\n", kString, "S", "a", "d", 16, 1,
                    Z("1"), "", false},
        ProfileCase{"LfAndNoFinalLineBreak", "[S]\na=1\nb=2", kString, "S", "b", "", 16, 1, Z("2"),
                    "", false},
        ProfileCase{"ValueCutToTheBuffer", "[S]\r\nk=val1\r\n", kString, "S", "k", "", 4, 3,
                    Z("val"), "", false},
        ProfileCase{"ValueExactFit", "[S]\r\nk=val1\r\n", kString, "S", "k", "", 5, 4, Z("val1"),
                    "", false},
        ProfileCase{"MissingFileGivesTheDefault", "<none>", kString, "S", "k", "d", 16, 1, Z("d"),
                    "", false},
        ProfileCase{"FolderGivesTheDefault", "<folder>", kString, "S", "k", "d", 16, 1, Z("d"), "",
                    false},
        // Numbers.
        ProfileCase{"IntDigitsThenText", "[S]\r\nk=42abc\r\n", kInt, "S", "k", nullptr, 10, 42, "",
                    "", false},
        ProfileCase{"IntText", "[S]\r\nk=abc\r\n", kInt, "S", "k", nullptr, 10, 0, "", "", false},
        ProfileCase{"IntNegative", "[S]\r\nk=-7\r\n", kInt, "S", "k", nullptr, 10, 0xFFFFFFF9LL, "",
                    "", false},
        ProfileCase{"IntMissingKey", "[S]\r\nj=1\r\n", kInt, "S", "k", nullptr, 10, 10, "", "",
                    false},
        ProfileCase{"IntFullWidthDigits", "[S]\r\nk=２\r\n", kInt, "S", "k", nullptr, 10, 0, "", "",
                    false},
        ProfileCase{"IntFolder", "<folder>", kInt, "辞書・学習", "基本辞書セットNo", nullptr, 10,
                    10, "", "", false},
        // Section-name lists: a list that only just fits counts as cut.
        ProfileCase{"NamesFit", kThreeSections, kSectionNames, nullptr, nullptr, nullptr, 29, 27,
                    L("section1\0section2\0section3\0\0", 28), "", false},
        ProfileCase{"NamesExactFitIsCut", kThreeSections, kSectionNames, nullptr, nullptr, nullptr,
                    28, 26, L("section1\0section2\0section3\0", 27), "", false},
        ProfileCase{"NamesCut", kThreeSections, kSectionNames, nullptr, nullptr, nullptr, 16, 14,
                    L("section1\0secti\0", 15), "", false},
        ProfileCase{"NamesOfAFileWithoutSections", "k=1\r\n", kSectionNames, nullptr, nullptr,
                    nullptr, 64, 0, L("\0", 1), "", false},
        ProfileCase{"NamesOfAMissingFile", "<none>", kSectionNames, nullptr, nullptr, nullptr, 64,
                    0, L("\0", 1), "", false},
        // Writes. Byte-exact where Windows and Wine agree: a new file, or a file already in the
        // form Wine writes (CRLF, no blank lines, no blanks around '=').
        ProfileCase{"WriteCreatesAFile", "<none>", kWrite, "S", "K", "V", 0, 1, "",
                    "[S]\r\nK=V\r\n", false},
        ProfileCase{"WriteReplacesInPlace", "[S]\r\nA=1\r\nB=2\r\n[T]\r\nC=3\r\n", kWrite, "s", "a",
                    "9", 0, 1, "", "[S]\r\nA=9\r\nB=2\r\n[T]\r\nC=3\r\n", false},
        ProfileCase{"WriteAddsAKeyAtTheEndOfItsSection", "[S]\r\nA=1\r\n[T]\r\nC=3\r\n", kWrite,
                    "S", "Z", "5", 0, 1, "", "[S]\r\nA=1\r\nZ=5\r\n[T]\r\nC=3\r\n", false},
        ProfileCase{"WriteAddsASectionAtTheEnd", "[S]\r\nA=1\r\n", kWrite, "U", "k", "v", 0, 1, "",
                    "[S]\r\nA=1\r\n[U]\r\nk=v\r\n", false},
        ProfileCase{"WriteAfterALastLineWithoutBreak", "[S]\r\nA=1", kWrite, "S", "B", "2", 0, 1,
                    "", "[S]\r\nA=1\r\nB=2\r\n", false},
        ProfileCase{
            "WriteCp932", "[辞書セット２]\r\n補助辞書１=C:\\A\\a.dic\r\n", kWrite, "辞書セット２",
            "補助辞書２", "C:\\ソ\\VezDat10.dic", 0, 1, "",
            "[辞書セット２]\r\n補助辞書１=C:\\A\\a.dic\r\n補助辞書２=C:\\ソ\\VezDat10.dic\r\n",
            false},
        // A user's own layout: Windows keeps every byte it does not write; Wine rewrites it all.
        ProfileCase{"WriteKeepsAHandMadeFile", kHandMade, kWrite, "辞書セット２", "補助辞書１",
                    "C:\\Dic\\VezDat10.dic", 0, 1, "",
                    "; ATOK profile\n[辞書・学習]\n基本辞書セットNo = 2\n\n[辞書セット２]\n"
                    "補助辞書１=C:\\Dic\\VezDat10.dic\n\n[Other]\nx=1\n",
                    true},
        ProfileCase{
            "WriteAddsToAHandMadeFile", kHandMade, kWrite, "辞書セット２", "補助辞書２",
            "C:\\Dic\\VezDat10.dic", 0, 1, "",
            "; ATOK profile\n[辞書・学習]\n基本辞書セットNo = 2\n\n[辞書セット２]\n"
            "補助辞書１ = C:\\A\\a.dic\n補助辞書２=C:\\Dic\\VezDat10.dic\r\n\n[Other]\nx=1\n",
            true},
        ProfileCase{"WriteToAFolderFails", "<folder>", kWrite, "S", "K", "V", 0, 0, "", "", false}),
    [](const ::testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

// Whatever Wine does to the layout, a write changes no other entry's content.
TEST(ProfileWrite, HandMadeFileKeepsEveryOtherEntry) {
  hosttest::ResetScratch();
  const std::string path = hosttest::ScratchFolder() + "handmade-content.ini";
  hosttest::WriteFileBytes(path, kHandMade);
  ASSERT_TRUE(WritePrivateProfileStringA("辞書セット２", "補助辞書２", "C:\\Dic\\VezDat10.dic",
                                         path.c_str()));
  char buffer[256];
  struct {
    const char* section;
    const char* key;
    const char* value;
  } entries[] = {{"辞書・学習", "基本辞書セットNo", "2"},
                 {"辞書セット２", "補助辞書１", "C:\\A\\a.dic"},
                 {"辞書セット２", "補助辞書２", "C:\\Dic\\VezDat10.dic"},
                 {"Other", "x", "1"}};
  for (const auto& e : entries) {
    GetPrivateProfileStringA(e.section, e.key, "<missing>", buffer, sizeof buffer, path.c_str());
    EXPECT_STREQ(e.value, buffer) << e.key;
  }
  DWORD stored = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, path.c_str());
  const std::string zero(1, '\0');
  EXPECT_EQ("辞書・学習" + zero + "辞書セット２" + zero + "Other" + zero,
            std::string(buffer, stored));
}

}  // namespace profiles

}  // namespace
