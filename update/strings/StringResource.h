// TS_StringResource: one string-table resource of the program, loaded by name and locked
// while its records (number, length, text; number 0 ends the table) are looked up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "update/strings/Persistent.h"

namespace pelorin {

class TS_StringResource : public TObject {
public:
    TS_StringResource() = default;
    // Named but not loaded yet (a search key, or a resource to Load later).
    explicit TS_StringResource(std::string name) : name_(std::move(name)) {}
    ~TS_StringResource() override;
    TS_StringResource(const TS_StringResource&) = delete;
    TS_StringResource& operator=(const TS_StringResource&) = delete;

    std::string ClassName() const override { return "TS_StringResource"; }

    // The record after the given one; none past the table's bytes.
    virtual const std::uint8_t* NextRecord(const std::uint8_t* record) const;
    // Needs the resource locked; none when no record has the number.
    virtual const std::uint8_t* FindRecord(int number) const;
    // Raises "No such string resource: %s" or "Cannot load Delphi string resource".
    virtual void Load(const std::string& name);
    virtual void Free();
    // Raises "Cannot lock string resource".
    virtual void Lock();
    virtual void Unlock();

    // The text of record number, empty when there is none; locked only for the lookup.
    std::string Message(int number);

    const std::string& Name() const { return name_; }
    bool Loaded() const { return resource_ != nullptr; }
    bool Locked() const { return locked_ != nullptr; }

private:
    bool Fits(const std::uint8_t* record, std::size_t length) const;

    std::string name_;
    const std::uint8_t* resource_ = nullptr;  // the loaded resource
    std::size_t size_ = 0;
    const std::uint8_t* locked_ = nullptr;  // its bytes while locked
};

}  // namespace pelorin
