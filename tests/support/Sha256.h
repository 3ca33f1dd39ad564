#pragma once
// SHA-256 of byte rows, for comparing decoded images with reference digests.

#include <openssl/evp.h>

#include <cstdio>
#include <string>
#include <vector>

namespace QuillonTest {

inline std::string sha256Hex(const std::vector<unsigned char>& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
    std::string hex;
    char pair[3];
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

}  // namespace QuillonTest
