// MD5 message digest (RFC 1321), printed as 32 lower-case hexadecimal digits. Used to sign requests
// to the account service and to check the screen-lock password.
#pragma once

#include <cstdint>

struct MD5_CTX {
    uint32_t state[4];     // chaining values A, B, C, D
    uint32_t count[2];     // bits hashed so far, modulo 2^64, low word first
    unsigned char buffer[64]; // input waiting for a full block
};

void Md5Init(MD5_CTX* context);
void Md5Update(MD5_CTX* context, const unsigned char* input, unsigned int length);
void Md5Final(unsigned char digest[16], MD5_CTX* context);
void Md5Transform(MD5_CTX* context, const unsigned char block[64]);
void Md5Decode(uint32_t output[16], const unsigned char block[64]);
void Md5ToHex(char output[33], const unsigned char digest[16]);

// Hashes `length` bytes of `data` and writes 32 digits and a terminating zero to `output` (at least
// 33 bytes). Returns 0 on success; 1 when data or output is null or the length is negative, in
// which case nothing is written.
int Md5HexDigest(const unsigned char* data, int length, char* output);
