#include <gtest/gtest.h>

#include "support/package_files.h"
#include "support/temporary_directory.h"
#include "vr/simulated/application_registry.h"

namespace {

class VrApplicationRegistryTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder.path() + "/" + name; }
    std::string manifestDeclaring(const std::string& key) {
        writeFile(path("app.manifest"), R"({"applications": [{"app_key": ")" + key + R"("}]})");
        return path("app.manifest");
    }
    std::string registryPath() const { return path("applications.txt"); }

    TemporaryDirectory folder;
};

TEST_F(VrApplicationRegistryTest, InstallationsAndAutoLaunchOutliveTheRegistry) {
    {
        ApplicationRegistry registry(registryPath());
        EXPECT_FALSE(registry.isInstalled("app.one"));
        EXPECT_EQ(registry.addManifest(manifestDeclaring("app.one"), false), VRApplicationError_None);
        EXPECT_EQ(registry.setAutoLaunch("app.one", true), VRApplicationError_None);
        EXPECT_EQ(registry.addManifest(manifestDeclaring("app.passing"), true),
                  VRApplicationError_None);
        EXPECT_TRUE(registry.isInstalled("app.passing"));
    }
    ApplicationRegistry restarted(registryPath());
    EXPECT_TRUE(restarted.isInstalled("app.one"));
    EXPECT_TRUE(restarted.autoLaunch("app.one"));
    EXPECT_FALSE(restarted.isInstalled("app.passing"));
    EXPECT_EQ(readWholeFile(registryPath()), "app.one\t1\t" + path("app.manifest") + "\n");
}

TEST_F(VrApplicationRegistryTest, RefusesManifestsItCannotUse) {
    ApplicationRegistry registry(registryPath());
    EXPECT_EQ(registry.addManifest(path("missing.manifest"), false),
              VRApplicationError_InvalidManifest);
    writeFile(path("broken.manifest"), "{\"applications\": [");
    EXPECT_EQ(registry.addManifest(path("broken.manifest"), false),
              VRApplicationError_InvalidManifest);
    writeFile(path("keyless.manifest"), R"({"applications": [{"name": "x"}]})");
    EXPECT_EQ(registry.addManifest(path("keyless.manifest"), false),
              VRApplicationError_InvalidApplication);
    EXPECT_EQ(registry.addManifest(manifestDeclaring("two words"), false),
              VRApplicationError_InvalidApplication);
    EXPECT_EQ(registry.addManifest(manifestDeclaring("tab\\there"), false),
              VRApplicationError_InvalidApplication);
    manifestDeclaring("app.one");
    EXPECT_EQ(registry.addManifest("app.manifest", false), VRApplicationError_InvalidParameter);
    EXPECT_EQ(registry.addManifest(path("app.manifest\nx"), false),
              VRApplicationError_InvalidParameter);
    EXPECT_EQ(registry.setAutoLaunch("app.unknown", true), VRApplicationError_UnknownApplication);
    EXPECT_FALSE(registry.isInstalled("app.one"));
}

TEST_F(VrApplicationRegistryTest, AFailedSaveLeavesNothingChanged) {
    const std::string manifest = manifestDeclaring("app.one");
    ApplicationRegistry registry(path("no such folder/applications.txt"));
    EXPECT_EQ(registry.addManifest(manifest, false), VRApplicationError_IPCFailed);
    EXPECT_FALSE(registry.isInstalled("app.one"));
}

TEST_F(VrApplicationRegistryTest, DamagedLinesOfTheFileAreDropped) {
    std::string lines = "app.good\t1\t/m/app.manifest\n"
                        "app.bad-launch\t2\t/m\n"
                        "no tabs at all\n"
                        "app.short\t1\n"
                        "\t1\t/m\n";
    lines += std::string("app.nul\t0\t/m\0x\n", 15);
    lines += "app.last\t0\t/other/app.manifest";
    writeFile(registryPath(), lines);
    ApplicationRegistry registry(registryPath());
    EXPECT_TRUE(registry.isInstalled("app.good"));
    EXPECT_TRUE(registry.autoLaunch("app.good"));
    EXPECT_TRUE(registry.isInstalled("app.last"));
    EXPECT_FALSE(registry.autoLaunch("app.last"));
    for (const char* key : {"app.bad-launch", "no tabs at all", "app.short", "", "app.nul"})
        EXPECT_FALSE(registry.isInstalled(key)) << key;
}

}  // namespace
