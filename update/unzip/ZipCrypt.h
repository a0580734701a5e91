// The traditional zip encryption of the zip application note: three keys set up from the
// password, a 12-byte header whose last byte checks the password, then byte-wise decryption.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelorin {

class ZipCrypt {
public:
    static constexpr std::size_t kHeaderSize = 12;

    explicit ZipCrypt(const std::string& password);

    void Decrypt(std::uint8_t* data, std::size_t count);
    // Decrypts the 12-byte header and compares its last byte with the check byte.
    bool CheckHeader(const std::uint8_t* header, std::uint8_t checkByte);

private:
    void UpdateKeys(std::uint8_t plain);
    std::uint8_t KeyByte() const;

    std::uint32_t keys_[3];
};

// The byte an entry's encryption header ends with: the high byte of the modification time
// when the sizes follow the data (flag bit 3), else the high byte of the CRC-32.
std::uint8_t CryptCheckByte(std::uint16_t flags, std::uint32_t dateTime, std::uint32_t crc32);

}  // namespace pelorin
