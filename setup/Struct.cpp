// Byte layouts of the setup description records: one field list per record, walked
// by a reader (Decode), a writer (Encode) and a dumper (comparison).
#include "setup/Struct.h"

#include <cstring>

namespace pelorin {
namespace {

// Guards against a field list that does not match its record size.
void CheckRoom(std::size_t pos, std::size_t count, std::size_t size, const char* record) {
    if (count > size - pos) {
        throw Exception(std::string("Record layout of ") + record + " exceeds " + std::to_string(size) + " bytes");
    }
}

void CheckLayout(std::size_t pos, std::size_t size, const char* record) {
    if (pos != size) {
        throw Exception(std::string("Record layout of ") + record + " covers " + std::to_string(pos) + " of " +
                        std::to_string(size) + " bytes");
    }
}

// Walks a record's bytes field by field, filling the record.
class FieldReader {
public:
    FieldReader(const std::uint8_t* data, std::size_t size, const char* record)
        : data_(data), size_(size), record_(record) {}

    // Length-prefixed text of the given capacity (capacity + 1 bytes). A length byte
    // above the capacity never comes from the writer: the record is rejected rather
    // than cut, so nothing is ever read past the field.
    void Text(std::string& value, std::size_t capacity, const char* field) {
        const std::uint8_t* p = Take(capacity + 1);
        const std::size_t length = p[0];
        if (length > capacity) {
            throw ECorruptRecord(std::string(record_) + "." + field + " has a length byte of " +
                                 std::to_string(length) + " for a capacity of " + std::to_string(capacity));
        }
        value.assign(reinterpret_cast<const char*>(p + 1), length);
    }

    // Zero-terminated text of size bytes: up to the first zero, or the whole field.
    void ZText(std::string& value, std::size_t size, const char*) {
        const std::uint8_t* p = Take(size);
        const void* zero = std::memchr(p, 0, size);
        const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - p) : size;
        value.assign(reinterpret_cast<const char*>(p), length);
    }

    void U8(std::uint8_t& value) { value = *Take(1); }
    void U32(std::uint32_t& value) { value = GetLE32(Take(4)); }
    void I32(std::int32_t& value) { value = static_cast<std::int32_t>(GetLE32(Take(4))); }
    void U64(std::uint64_t& value) { value = GetLE64(Take(8)); }

    void Finish() const { CheckLayout(pos_, size_, record_); }

private:
    const std::uint8_t* Take(std::size_t count) {
        CheckRoom(pos_, count, size_, record_);
        const std::uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    const char* record_;
    std::size_t pos_ = 0;
};

// Walks a record field by field, producing its bytes. Unused bytes stay zero.
class FieldWriter {
public:
    FieldWriter(std::uint8_t* data, std::size_t size, const char* record) : data_(data), size_(size), record_(record) {}

    void Text(const std::string& value, std::size_t capacity, const char* field) {
        std::uint8_t* p = Take(capacity + 1);
        if (value.size() > capacity) {
            throw ERecordEncodeError(std::string(record_) + "." + field + " is longer than " +
                                     std::to_string(capacity) + " characters: " + value);
        }
        p[0] = static_cast<std::uint8_t>(value.size());
        std::memcpy(p + 1, value.data(), value.size());
    }

    void ZText(const std::string& value, std::size_t size, const char* field) {
        std::uint8_t* p = Take(size);
        if (value.size() > size) {
            throw ERecordEncodeError(std::string(record_) + "." + field + " is longer than " + std::to_string(size) +
                                     " characters: " + value);
        }
        if (value.find('\0') != std::string::npos) {
            throw ERecordEncodeError(std::string(record_) + "." + field + " contains a zero character");
        }
        std::memcpy(p, value.data(), value.size());
    }

    void U8(std::uint8_t value) { *Take(1) = value; }
    void U32(std::uint32_t value) { PutLE32(Take(4), value); }
    void I32(std::int32_t value) { PutLE32(Take(4), static_cast<std::uint32_t>(value)); }
    void U64(std::uint64_t value) { PutLE64(Take(8), value); }

    void Finish() const { CheckLayout(pos_, size_, record_); }

private:
    std::uint8_t* Take(std::size_t count) {
        CheckRoom(pos_, count, size_, record_);
        std::uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }

    std::uint8_t* data_;
    std::size_t size_;
    const char* record_;
    std::size_t pos_ = 0;
};

// Flattens every field into one unambiguous text, for comparing records.
class FieldDumper {
public:
    void Text(const std::string& value, std::size_t, const char*) { Add(value); }
    void ZText(const std::string& value, std::size_t, const char*) { Add(value); }
    void U8(std::uint8_t value) { Add(std::to_string(value)); }
    void U32(std::uint32_t value) { Add(std::to_string(value)); }
    void I32(std::int32_t value) { Add(std::to_string(value)); }
    void U64(std::uint64_t value) { Add(std::to_string(value)); }
    std::string Result() const { return out_; }

private:
    void Add(const std::string& value) {
        out_ += std::to_string(value.size());
        out_ += ':';
        out_ += value;
    }

    std::string out_;
};

// The field lists, in file order. R is the record or a const record.

template <class C, class R>
void Fields(C& c, R& r, const SetupHeader*) {
    c.Text(r.AppName, SetupHeader::AppNameCapacity, "AppName");
    c.Text(r.AppVerName, SetupHeader::AppVerNameCapacity, "AppVerName");
    c.Text(r.DefaultDirName, SetupHeader::DefaultDirNameCapacity, "DefaultDirName");
    c.Text(r.DefaultGroupName, SetupHeader::DefaultGroupNameCapacity, "DefaultGroupName");
    c.I32(r.DirCount);
    c.I32(r.FileCount);
    c.I32(r.IconCount);
    c.I32(r.IniCount);
    c.I32(r.RegistryCount);
    c.I32(r.UninstallDeleteCount);
    c.I32(r.RunCount);
    c.I32(r.LicenseSize);
    c.U8(r.MinWinMajor);
    c.U8(r.MinWinMinor);
    c.U8(r.MinNTMajor);
    c.U8(r.MinNTMinor);
    c.U32(r.BackColor);
    c.U8(r.Flags);
}

template <class C, class R>
void Fields(C& c, R& r, const DirEntry*) {
    c.Text(r.DirName, DirEntry::DirNameCapacity, "DirName");
}

template <class C, class R>
void Fields(C& c, R& r, const FileEntry*) {
    c.I32(r.DataOffset);
    c.Text(r.DestName, FileEntry::DestNameCapacity, "DestName");
    c.U64(r.FileTime);
    c.U32(r.VersionMS);
    c.U32(r.VersionLS);
    c.U32(r.UncompressedSize);
    c.U32(r.CompressedSize);
    c.U32(r.Adler32);
    c.U8(r.CopyMode);
    c.U8(r.Flags);
}

template <class C, class R>
void Fields(C& c, R& r, const IconEntry*) {
    c.Text(r.IconName, IconEntry::IconNameCapacity, "IconName");
    c.Text(r.Filename, IconEntry::FilenameCapacity, "Filename");
    c.Text(r.Parameters, IconEntry::ParametersCapacity, "Parameters");
    c.Text(r.WorkingDir, IconEntry::WorkingDirCapacity, "WorkingDir");
    c.Text(r.IconFilename, IconEntry::IconFilenameCapacity, "IconFilename");
    c.I32(r.IconIndex);
}

template <class C, class R>
void Fields(C& c, R& r, const IniEntry*) {
    c.Text(r.IniFile, IniEntry::IniFileCapacity, "IniFile");
    c.Text(r.Section, IniEntry::SectionCapacity, "Section");
    c.Text(r.Key, IniEntry::KeyCapacity, "Key");
    c.Text(r.Value, IniEntry::ValueCapacity, "Value");
    c.U8(r.Flags);
}

template <class C, class R>
void Fields(C& c, R& r, const RegistryEntry*) {
    c.U32(r.RootKey);
    c.ZText(r.SubKey, RegistryEntry::SubKeySize, "SubKey");
    c.ZText(r.ValueName, RegistryEntry::ValueNameSize, "ValueName");
    c.ZText(r.ValueData, RegistryEntry::ValueDataSize, "ValueData");
    c.U8(r.ValueType);
    c.U8(r.Flags);
}

template <class C, class R>
void Fields(C& c, R& r, const UninstallDeleteEntry*) {
    c.Text(r.FileName, UninstallDeleteEntry::FileNameCapacity, "FileName");
}

template <class C, class R>
void Fields(C& c, R& r, const RunEntry*) {
    c.Text(r.Filename, RunEntry::FilenameCapacity, "Filename");
    c.Text(r.Parameters, RunEntry::ParametersCapacity, "Parameters");
    c.U8(r.Flags);
}

template <class R>
R DecodeRecord(const typename R::Bytes& bytes, const char* name) {
    R record;
    FieldReader reader(bytes.data(), bytes.size(), name);
    Fields(reader, record, static_cast<const R*>(nullptr));
    reader.Finish();
    return record;
}

template <class R>
typename R::Bytes EncodeRecord(const R& record, const char* name) {
    typename R::Bytes bytes{};
    FieldWriter writer(bytes.data(), bytes.size(), name);
    Fields(writer, record, static_cast<const R*>(nullptr));
    writer.Finish();
    return bytes;
}

template <class R>
bool SameRecord(const R& a, const R& b) {
    FieldDumper da;
    FieldDumper db;
    Fields(da, a, static_cast<const R*>(nullptr));
    Fields(db, b, static_cast<const R*>(nullptr));
    return da.Result() == db.Result();
}

}  // namespace

#define PELORIN_RECORD_CODEC(R)                                            \
    R R::Decode(const Bytes& bytes) { return DecodeRecord<R>(bytes, #R); } \
    R::Bytes R::Encode() const { return EncodeRecord(*this, #R); }         \
    bool R::operator==(const R& other) const { return SameRecord(*this, other); }

PELORIN_RECORD_CODEC(SetupHeader)
PELORIN_RECORD_CODEC(DirEntry)
PELORIN_RECORD_CODEC(FileEntry)
PELORIN_RECORD_CODEC(IconEntry)
PELORIN_RECORD_CODEC(IniEntry)
PELORIN_RECORD_CODEC(RegistryEntry)
PELORIN_RECORD_CODEC(UninstallDeleteEntry)
PELORIN_RECORD_CODEC(RunEntry)

#undef PELORIN_RECORD_CODEC

std::int32_t ComputeTotalSize(const std::vector<FileEntry>& files) {
    std::uint32_t total = 0;
    for (const FileEntry& file : files) total += file.UncompressedSize;
    return static_cast<std::int32_t>(total);
}

}  // namespace pelorin
