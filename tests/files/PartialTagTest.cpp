#include "files/PartialTag.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wh::DecodePartialTag;
using wh::EncodePartialTag;

// A file of body followed by its tag, as a broken download leaves it.
std::string Tagged(const std::string& body, const std::string& tag) { return body + EncodePartialTag(tag, body.size()); }

std::optional<wh::TPartialTag> DecodeFile(const std::string& file) {
    const std::size_t n = std::min(file.size(), wh::PartialTagMaxSize);
    return DecodePartialTag(std::string_view(file).substr(file.size() - n), file.size());
}

TEST(PartialTagTest, ReadsBackTheTagAndBodySizeOfAWholeEnd) {
    const std::string longest(wh::PartialTagMaxLength, 'e');
    for (const std::string& tag : {std::string("\"v1\""), std::string("Tue, 01 Dec 2026 10:00:00 GMT"), longest}) {
        for (const std::string& body : {std::string(), std::string("x"), std::string(70000, '\x89')}) {
            const auto decoded = DecodeFile(Tagged(body, tag));
            ASSERT_TRUE(decoded) << tag.size() << "/" << body.size();
            EXPECT_EQ(decoded->Tag, tag);
            EXPECT_EQ(decoded->BodySize, body.size());
        }
    }
}

// What a kill or a stranger's file leaves must never pass for a tagged body.
TEST(PartialTagTest, RefusesEndsThatAreNotAWholeTagForThatSize) {
    const std::string file = Tagged(std::string(5000, 'b'), "\"abc\"");
    std::vector<std::pair<std::string, std::string>> cases = {
        {"no tag at all", std::string(5000, 'b')},
        {"more body written over the tag", file.substr(0, 5000) + std::string(40, 'b')},
        {"a longer tag than allowed", Tagged("body", std::string(wh::PartialTagMaxLength + 1, 't'))},
    };
    for (std::size_t cut = 1; cut < file.size() - 5000; ++cut)
        cases.emplace_back("tag cut by " + std::to_string(cut), file.substr(0, file.size() - cut));
    for (std::size_t at : {5000u, 5004u, 5010u, 5020u}) {
        std::string flipped = file;
        flipped[at] ^= 0x01;
        cases.emplace_back("byte " + std::to_string(at) + " changed", flipped);
    }
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(DecodeFile(bytes)) << name;
    // The end read from a file of another size.
    EXPECT_FALSE(DecodePartialTag(file.substr(file.size() - 100), file.size() + 1));
}

} // namespace
