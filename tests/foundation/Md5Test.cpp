#include "foundation/Md5.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

std::string Digest(const std::string& bytes) {
    char out[33] = {};
    EXPECT_EQ(0, Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()),
                              static_cast<int>(bytes.size()), out));
    return std::string(out);
}

std::string Pattern(size_t length) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i)
        bytes += static_cast<char>((i * 7 + 3) & 0xff);
    return bytes;
}

} // namespace

TEST(Md5, MatchesTheReferenceVectorsAndCrossesThePaddingBoundaries) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890"
         "123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string("ab\0cd", 5), "5d622b3d4d8cc07754fd386e7f29326e"}, // a zero byte inside counts
        // From 56 bytes on, the length no longer fits in the last block.
        {Pattern(55), "52c0e574e1198de5fe3f8f11440dcb1b"},
        {Pattern(56), "46c9907fc908ee68b1e7b8e71286a518"},
        {Pattern(63), "a62f6d59e837867693f042f5b8f5a236"},
        {Pattern(64), "7160b8fb5e9e4023d549c3971fbaeead"},
        {Pattern(65), "70bd662e7aefbda85a0f7244167b7897"},
        {Pattern(128), "10b2da1a82f16d99a81a7203fe9f02cb"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, Digest(c.first)) << c.first.size() << " bytes";
}

TEST(Md5, HashesExactlyTheGivenBytesAndRefusesMissingInput) {
    char out[33];
    EXPECT_EQ(0, Md5HexDigest(reinterpret_cast<const unsigned char*>("abcdef"), 2, out));
    EXPECT_STREQ("187ef4436122d1cc2f40dc2b92f0eba0", out);

    memset(out, 'x', sizeof(out));
    EXPECT_EQ(1, Md5HexDigest(nullptr, 3, out));
    EXPECT_EQ(1, Md5HexDigest(reinterpret_cast<const unsigned char*>("abc"), -1, out));
    EXPECT_EQ(1, Md5HexDigest(reinterpret_cast<const unsigned char*>("abc"), 3, nullptr));
    EXPECT_EQ(std::string(33, 'x'), std::string(out, 33)) << "nothing written";
}
