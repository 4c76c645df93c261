// The application manifest both programs carry, in the form Windows XP and Server 2003 accept.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Manifest() {
    std::ifstream in(SOURCE_DIR "/resources/app.manifest", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(ManifestTest, TrustInfoDeclaresTheAsmV2NamespaceOnceOnItself) {
    std::string manifest = Manifest();
    ASSERT_FALSE(manifest.empty());
    // XP refuses trustInfo outside this namespace; a second declaration can restart XP SP2 and 2003.
    EXPECT_EQ(1u, Count(manifest, "urn:schemas-microsoft-com:asm.v2"));
    EXPECT_EQ(1u, Count(manifest, "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"));
    EXPECT_EQ(1u, Count(manifest, "<requestedExecutionLevel level=\"requireAdministrator\""));
}

TEST(ManifestTest, AsksForCommonControlsSix) {
    std::string manifest = Manifest();
    size_t dependency = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(std::string::npos, dependency);
    size_t end = manifest.find("/>", dependency);
    std::string identity = manifest.substr(dependency, end - dependency);
    EXPECT_NE(std::string::npos, identity.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, identity.find("publicKeyToken=\"6595b64144ccf1df\""));
}
