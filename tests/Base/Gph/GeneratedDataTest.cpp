#include <gtest/gtest.h>

#include <string>

#include "Base/Gph/GphImage.h"
#include "support/Manifest.h"

TEST(GeneratedData, EveryManifestPictureLoadsAtItsSize)
{
    // With no manifests (or none naming pictures) there is nothing to check.
    for (const testsupport::ManifestEntry& entry : testsupport::manifestEntries()) {
        if (entry.kind != "image" && entry.kind != "sprite" && entry.kind != "glyph") continue;
        SCOPED_TRACE(entry.manifest + ": " + entry.name);
        ASSERT_GE(entry.values.size(), 2u);
        GphImage* image = GphImage::load(entry.name, false);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(std::to_string(image->getWidth()), entry.values[0]);
        EXPECT_EQ(std::to_string(image->getHeight()), entry.values[1]);
        EXPECT_EQ(image->getBitsPerPixel(), 24u);
        EXPECT_NE(image->getPixels(), nullptr);
        GphImage::release(image);
    }
}
