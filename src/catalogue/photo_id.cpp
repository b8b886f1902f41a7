#include "catalogue/photo_id.h"

#include <openssl/evp.h>

std::int64_t ComputePhotoId(const std::uint8_t* thumbnail, std::size_t length) {
    unsigned char digest[EVP_MAX_MD_SIZE] = {};
    unsigned int digestLength = 0;
    static const std::uint8_t kNothing = 0;
    EVP_Digest(thumbnail ? thumbnail : &kNothing, thumbnail ? length : 0, digest, &digestLength,
               EVP_md5(), nullptr);
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    for (int i = 3; i >= 0; --i) low = (low << 8) | digest[i];
    for (int i = 7; i >= 4; --i) high = (high << 8) | digest[i];
    high &= 0x7FFFFFFFu;
    return static_cast<std::int64_t>((high << 32) | low);
}
