#include "foundation/Md5.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Digest(const std::string& bytes) {
    char out[33] = {};
    EXPECT_EQ(0, Md5HexDigest(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                              out));
    return std::string(out);
}

std::string Pattern(size_t length) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) bytes += static_cast<char>((i * 7 + 3) & 0xff);
    return bytes;
}

} // namespace

TEST(Md5, MatchesTheReferenceVectors) {
    EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Digest(""));
    EXPECT_EQ("0cc175b9c0f1b6a831c399e269772661", Digest("a"));
    EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", Digest("abc"));
    EXPECT_EQ("f96b697d7cb7938d525a2f31aaf161d0", Digest("message digest"));
    EXPECT_EQ("c3fcd3d76192e4007dfb496cca67e13b", Digest("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ("d174ab98d277d9f5a5611c2c9f419d9f",
              Digest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"));
    EXPECT_EQ("57edf4a22be3c955ac49da2e2107b67a",
              Digest("12345678901234567890123456789012345678901234567890123456789012345678901234567890"));
}

TEST(Md5, CrossesThePaddingBoundaries) {
    // 56 bytes and more leave no room for the length in the last block.
    EXPECT_EQ("52c0e574e1198de5fe3f8f11440dcb1b", Digest(Pattern(55)));
    EXPECT_EQ("46c9907fc908ee68b1e7b8e71286a518", Digest(Pattern(56)));
    EXPECT_EQ("a62f6d59e837867693f042f5b8f5a236", Digest(Pattern(63)));
    EXPECT_EQ("7160b8fb5e9e4023d549c3971fbaeead", Digest(Pattern(64)));
    EXPECT_EQ("70bd662e7aefbda85a0f7244167b7897", Digest(Pattern(65)));
    EXPECT_EQ("10b2da1a82f16d99a81a7203fe9f02cb", Digest(Pattern(128)));
}

TEST(Md5, PiecewiseUpdatesGiveTheSameDigest) {
    const std::string bytes = Pattern(128);
    for (size_t split = 0; split <= bytes.size(); ++split) {
        for (size_t second = split; second <= bytes.size(); second += 17) {
            MD5_CTX context;
            Md5Init(&context);
            const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
            Md5Update(&context, data, static_cast<unsigned>(split));
            Md5Update(&context, data + split, static_cast<unsigned>(second - split));
            Md5Update(&context, data + second, static_cast<unsigned>(bytes.size() - second));
            unsigned char digest[16];
            Md5Final(digest, &context);
            char hex[33];
            Md5ToHex(hex, digest);
            ASSERT_STREQ("10b2da1a82f16d99a81a7203fe9f02cb", hex) << "split at " << split << ", " << second;
        }
    }
}

TEST(Md5, HashesExactlyTheGivenBytes) {
    // A zero byte inside the length counts; bytes after the length do not.
    EXPECT_EQ("5d622b3d4d8cc07754fd386e7f29326e", Digest(std::string("ab\0cd", 5)));
    char out[33] = {};
    EXPECT_EQ(0, Md5HexDigest(reinterpret_cast<const unsigned char*>("abcdef"), 2, out));
    EXPECT_STREQ("187ef4436122d1cc2f40dc2b92f0eba0", out);

    // Every byte value: the text stays 32 lower-case digits.
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    const std::string hex = Digest(all);
    ASSERT_EQ(32u, hex.size());
    EXPECT_EQ(std::string::npos, hex.find_first_not_of("0123456789abcdef"));
}

TEST(Md5, RefusesMissingInputAndLeavesTheOutput) {
    char out[33];
    memset(out, 'x', sizeof(out));
    EXPECT_EQ(1, Md5HexDigest(nullptr, 3, out));
    EXPECT_EQ(1, Md5HexDigest(reinterpret_cast<const unsigned char*>("abc"), -1, out));
    EXPECT_EQ(1, Md5HexDigest(reinterpret_cast<const unsigned char*>("abc"), 3, nullptr));
    for (char c : out) EXPECT_EQ('x', c);
}
