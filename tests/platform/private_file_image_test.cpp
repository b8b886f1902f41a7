#include "platform/private_file_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>

#include "temp_folder.h"

namespace {

// Three and a bit pages of a pattern no page repeats.
std::string Pattern() {
    std::string bytes(3 * 4096 + 100, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
    return bytes;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PrivateFileImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(path_, std::ios::binary) << Pattern();
        image_ = PrivateFileImage::Map(path_, 1 << 20, [this](const std::function<void()>& step) {
            std::lock_guard lock(writers_);
            step();
            return true;
        });
        if (!image_) GTEST_SKIP() << "this system cannot map and lease a file";
    }
    // Writes to the image as the catalogue does: under the lock that the
    // mover's exclusive step takes.
    void Write(std::int64_t offset, char value) {
        std::lock_guard lock(writers_);
        image_->data()[offset] = static_cast<unsigned char>(value);
    }
    std::string Image() const {
        return {reinterpret_cast<const char*>(image_->data()),
                static_cast<std::size_t>(image_->size())};
    }

    TempFolder folder_;
    const std::string path_ = folder_.File("catalogue.db");
    std::mutex writers_;
    std::unique_ptr<PrivateFileImage> image_;
};

}  // namespace

TEST_F(PrivateFileImageTest, HoldsTheFileKeepsWritesToItselfAndGrowsIntoItsRoom) {
    EXPECT_EQ(Image(), Pattern());
    EXPECT_GE(image_->capacity(), image_->size() + (1 << 20));
    Write(5000, 'x');
    Write(image_->size() + 70000, 'y');
    EXPECT_EQ(image_->data()[5000], 'x');
    EXPECT_EQ(image_->data()[image_->size() + 70000], 'y');
    EXPECT_EQ(ReadAll(path_), Pattern()) << "the file never sees the image's writes";
}

// Another program rewriting the catalogue file in place (cut to nothing,
// then other bytes) must not take pages from under the image: its open
// waits until every page is the image's own.
TEST_F(PrivateFileImageTest, AFileCutShortAndRewrittenInPlaceLeavesTheImageWhole) {
    Write(100, 'z');
    std::string expected = Pattern();
    expected[100] = 'z';
    EXPECT_EQ(Image(), expected);  // every page read once: shared with the file
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << "new";
    EXPECT_EQ(ReadAll(path_), "new");
    EXPECT_EQ(Image(), expected);
    image_->WaitUntilPrivate();
    EXPECT_EQ(Image(), expected);
}

TEST(PrivateFileImage, MapsNothingForAMissingOrEmptyFileOrAFolder) {
    TempFolder folder;
    std::ofstream(folder.File("empty"));
    for (const std::string& path : {folder.File("missing"), folder.File("empty"), folder.Path()})
        EXPECT_EQ(PrivateFileImage::Map(path, 4096, {}), nullptr) << path;
}
