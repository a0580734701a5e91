// Traditional zip decryption, as published in the zip application note.
// The keys are updated with each plain byte after it is decrypted.
#include "update/unzip/ZipCrypt.h"

#include "update/unzip/Crc32.h"

namespace pelorin {

ZipCrypt::ZipCrypt(const std::string& password) : keys_{0x12345678u, 0x23456789u, 0x34567890u} {
    for (const char c : password) UpdateKeys(static_cast<std::uint8_t>(c));
}

void ZipCrypt::UpdateKeys(std::uint8_t plain) {
    keys_[0] = Crc32Byte(keys_[0], plain);
    keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
    keys_[2] = Crc32Byte(keys_[2], static_cast<std::uint8_t>(keys_[1] >> 24));
}

std::uint8_t ZipCrypt::KeyByte() const {
    const std::uint32_t temp = (keys_[2] & 0xFFFF) | 2;
    return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCrypt::Decrypt(std::uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        data[i] = static_cast<std::uint8_t>(data[i] ^ KeyByte());
        UpdateKeys(data[i]);
    }
}

bool ZipCrypt::CheckHeader(const std::uint8_t* header, std::uint8_t checkByte) {
    std::uint8_t plain[kHeaderSize];
    for (std::size_t i = 0; i < kHeaderSize; ++i) plain[i] = header[i];
    Decrypt(plain, kHeaderSize);
    return plain[kHeaderSize - 1] == checkByte;
}

std::uint8_t CryptCheckByte(std::uint16_t flags, std::uint32_t dateTime, std::uint32_t crc32) {
    return (flags & 0x0008) ? static_cast<std::uint8_t>((dateTime >> 8) & 0xFF)
                            : static_cast<std::uint8_t>(crc32 >> 24);
}

}  // namespace pelorin
