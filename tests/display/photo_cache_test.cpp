#include "display/photo_cache.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "core/files.h"
#include "support/working_dir.h"

namespace orv {
namespace {

class PhotoCacheTest : public test::InWorkingDir {
protected:
    static void SavePhoto(const std::string& file, int width, Qt::GlobalColor colour) {
        QImage photo(width, 200, QImage::Format_RGB32);
        photo.fill(colour);
        ASSERT_TRUE(photo.save(QString::fromStdString(file), "PNG"));
    }
    // A plan whose header names the photograph, as the start-up finds it.
    static void SavePlan(const std::string& image) {
        ASSERT_TRUE(WriteWholeFile("plan.orv", std::string(12, ',') + image + ",\r\n"));
    }
    static QRgb PixelOf(const QImage& image) { return image.isNull() ? 0 : image.pixel(1, 1); }
};

// A decoding started ahead serves only the file it read; another photograph, or the
// same file changed since, is decoded again, and a plan without a readable photograph
// leaves the cache as empty as before.
TEST_F(PhotoCacheTest, ADecodingAheadServesOnlyTheFileItRead) {
    SavePhoto("a.png", 300, Qt::red);
    SavePhoto("b.png", 300, Qt::blue);
    SavePlan("a.png");
    {
        PhotoCache cache;
        DecodePhotographAhead(cache, "plan.orv");
        EXPECT_EQ(PixelOf(Photograph(cache, "a.png")), QColor(Qt::red).rgb());
        EXPECT_FALSE(cache.ahead.valid());
        EXPECT_FALSE(cache.held.levels.halves.empty());
    }
    {
        PhotoCache cache;
        DecodePhotographAhead(cache, "plan.orv");
        EXPECT_EQ(PixelOf(Photograph(cache, "b.png")), QColor(Qt::blue).rgb());
    }
    {
        PhotoCache cache;
        DecodePhotographAhead(cache, "plan.orv");
        SavePhoto("a.png", 320, Qt::green);
        EXPECT_EQ(PixelOf(Photograph(cache, "a.png")), QColor(Qt::green).rgb());
    }
    {
        SavePlan("missing.png");
        PhotoCache cache;
        DecodePhotographAhead(cache, "plan.orv");
        EXPECT_TRUE(Photograph(cache, "missing.png").isNull());
        EXPECT_EQ(PixelOf(Photograph(cache, "a.png")), QColor(Qt::green).rgb());
    }
}

}  // namespace
}  // namespace orv
