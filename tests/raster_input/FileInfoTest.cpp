#include <gtest/gtest.h>

#include <fstream>

#include "platform/velsys/fil.h"
#include "raster/input/FileInfo.h"
#include "support/TestSupport.h"

using QuillonCore::FileInfo;

namespace {

struct Case {
    std::string head;
    bool quillon, pdf, jpeg, tiff, psd, brell, eps;
};

TEST(FileInfo, TypesFromTheFirstBytes) {
    const Case cases[] = {
        {"KelM....", true, false, false, false, false, false, false},
        {"den?", true, false, false, false, false, false, false},
        {"de", false, false, false, false, false, false, false},
        {"MM", false, false, false, true, false, false, false},
        {"II*\0", false, false, false, true, false, false, false},
        {"MI", false, false, false, false, false, false, false},
        {"I", false, false, false, false, false, false, false},
        {"I1xx", false, false, false, false, false, true, false},
        {"\xFF\xD8\xFF", false, false, true, false, false, false, false},
        {"\xFF", false, false, false, false, false, false, false},
        {"8BPS", false, false, false, false, true, false, false},
        {"8BP", false, false, false, false, false, false, false},
        {"%!PS", false, false, false, false, false, false, true},
        {"\xC5\xD0", false, false, false, false, false, false, true},
        {"%PDF-1.4", false, true, false, false, false, false, false},
        {"%%PDF", false, false, false, false, false, false, false},  // the second % is consumed
        {std::string(1000, 'x') + "%PDF", false, true, false, false, false, false, false},
        {std::string(1030, 'x') + "%PDF", false, false, false, false, false, false, false},
        {"", false, false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head.substr(0, 8));
        VelSys::fil file;
        file.openMemory({reinterpret_cast<const unsigned char*>(c.head.data()), c.head.size()});
        VelSys::filpos(&file, static_cast<int>(c.head.size() / 2));
        const int before = VelSys::filpos(&file);
        EXPECT_EQ(FileInfo::fileIsQuillon(file), c.quillon);
        EXPECT_EQ(FileInfo::fileIsPDF(file), c.pdf);
        EXPECT_EQ(FileInfo::fileIsJPEG(file), c.jpeg);
        EXPECT_EQ(FileInfo::fileIsTiff(file), c.tiff);
        EXPECT_EQ(FileInfo::fileIsPsd(file), c.psd);
        EXPECT_EQ(FileInfo::fileIsBrellCT(file), c.brell);
        EXPECT_EQ(FileInfo::fileIsEps(file), c.eps);
        EXPECT_EQ(VelSys::filpos(&file), before);
        EXPECT_EQ(VelSys::filerr(&file), 0);
    }
}

TEST(FileInfo, FilesByReference) {
    const std::string path = QuillonTest::tempPath("job");
    std::ofstream(path) << "denX";
    EXPECT_TRUE(FileInfo::fileIsQuillon(VelSys::FileSpec(path)));
    VelSys::filref ref;
    VelSys::filrefnew(&ref, path.c_str());
    EXPECT_TRUE(FileInfo::fileIsQuillon(ref));
    EXPECT_FALSE(FileInfo::fileIsJPEG(ref));
    VelSys::filref missing;
    VelSys::filrefnew(&missing, (path + ".missing").c_str());
    EXPECT_FALSE(FileInfo::fileIsQuillon(missing));
    EXPECT_FALSE(FileInfo::fileIsJPEG(missing));
    EXPECT_FALSE(FileInfo::fileIsQuillon(VelSys::FileSpec(path + ".missing")));
}

}  // namespace
