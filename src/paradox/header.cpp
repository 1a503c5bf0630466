#include "paradox/header.h"

#include "paradox/endian.h"
#include "paradox/failure.h"

#include <algorithm>
#include <ctime>

namespace paradox {

namespace {

using endian::le16;
using endian::le32;
using endian::putLe16;
using endian::putLe32;

// Offsets in the fixed part.
constexpr std::size_t recordSizeAt = 0x00, headerSizeAt = 0x02, fileTypeAt = 0x04, blockSizeAt = 0x05, recordsAt = 0x06,
                      blocksInUseAt = 0x0A, blocksInFileAt = 0x0C, firstBlockAt = 0x0E, lastBlockAt = 0x10,
                      fieldCountAt = 0x21, encryptionAt = 0x25, sortOrderCodeAt = 0x29, changeCountAt = 0x2D,
                      fileVersionAt = 0x39, maxBlocksAt = 0x3A, firstFreeAt = 0x4D, realHeaderSizeAt = 0x51,
                      dataHeaderAt = 0x58, dataEncryptionAt = 0x5C, updateTimeAt = 0x60, codePageAt = 0x6A;
constexpr std::size_t plainFieldsAt = 0x58, dataHeaderFieldsAt = 0x78;
constexpr std::uint32_t notEncrypted = 0xFF00FF00;
constexpr int level3CodePage = 437;
constexpr std::uint16_t headerUnit = 0x800;
constexpr std::size_t level7TableNameSize = 261, olderTableNameSize = 79;
const std::string sortOrderName = "ANSIINTL";
constexpr std::uint8_t sortOrderCode = 0x62;

bool hasDataHeader(std::uint8_t version)
{
    return version >= 5;
}

std::size_t tableNameSize(std::uint8_t version)
{
    return version >= level7Version ? level7TableNameSize : olderTableNameSize;
}

// The number of record bytes a descriptor stands for, or 0 when the size is impossible.
std::uint16_t recordBytes(FieldType type, std::uint8_t size)
{
    switch (type) {
    case FieldType::Short:
        return size == 2 ? 2 : 0;
    case FieldType::Long:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::AutoInc:
        return size == 4 ? 4 : 0;
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Timestamp:
        return size == 8 ? 8 : 0;
    case FieldType::Logical:
        return size == 1 ? 1 : 0;
    case FieldType::Bcd:
        return size <= 32 ? 17 : 0;
    default:
        if (isBlobType(type))
            return size >= 10 ? size : 0;
        return size;
    }
}

class HeaderReader {
public:
    HeaderReader(std::span<const std::uint8_t> bytes, const std::filesystem::path& file) : bytes_(bytes), file_(file) {}

    Header read()
    {
        if (bytes_.size() < plainFieldsAt)
            fail(file_, "not a Paradox table: the file is too short for a table header");
        Header h;
        readFixedPart(h);
        readFields(h);
        readNames(h);
        return h;
    }

private:
    void readFixedPart(Header& h)
    {
        const std::uint8_t* b = bytes_.data();
        h.fileVersion = b[fileVersionAt];
        if (h.fileVersion < 0x03 || h.fileVersion > level7Version)
            fail(file_, "not a Paradox table of a known level (file version " + std::to_string(h.fileVersion) + ")");
        h.fileType = b[fileTypeAt];
        if (h.fileType != keyedTable && h.fileType != plainTable)
            fail(file_,
                 "not a Paradox table but another kind of Paradox file (file type " + std::to_string(h.fileType) + ")");
        const std::uint8_t blockKb = b[blockSizeAt];
        if (blockKb < 1 || blockKb > 32)
            fail(file_, "the data block size code " + std::to_string(blockKb) + " is invalid");
        h.blockSize = blockKb * 1024u;
        h.recordSize = le16(b + recordSizeAt);
        if (h.recordSize == 0 || h.recordSize + 6u > h.blockSize)
            fail(file_, "the record size " + std::to_string(h.recordSize) + " does not fit a data block of " +
                            std::to_string(h.blockSize) + " bytes");
        h.headerSize = le16(b + headerSizeAt);
        fieldsAt_ = hasDataHeader(h.fileVersion) ? dataHeaderFieldsAt : plainFieldsAt;
        if (h.headerSize < fieldsAt_ || h.headerSize > bytes_.size())
            fail(file_, "the header size " + std::to_string(h.headerSize) + " is impossible for a file of " +
                            std::to_string(bytes_.size()) + " bytes");
        bytes_ = bytes_.first(h.headerSize);

        const std::uint32_t encryption = le32(b + encryptionAt);
        h.encrypted = (encryption != 0 && encryption != notEncrypted) ||
                      (hasDataHeader(h.fileVersion) && le32(b + dataEncryptionAt) != 0);
        if (h.encrypted)
            fail(file_, "the table is encrypted (protected by a password); this program cannot read it");
        h.codePage = hasDataHeader(h.fileVersion) ? le16(b + codePageAt) : 0;
        if (h.codePage == 0)
            h.codePage = level3CodePage;
        h.changeCount = b[changeCountAt];
        h.counters = {le32(b + recordsAt),    le16(b + blocksInUseAt), le16(b + blocksInFileAt),
                      le16(b + firstBlockAt), le16(b + lastBlockAt),   le16(b + firstFreeAt)};
    }

    void readFields(Header& h)
    {
        const std::size_t count = le16(bytes_.data() + fieldCountAt);
        if (count == 0 || fieldsAt_ + 2 * count > bytes_.size())
            fail(file_, "the header cannot hold " + std::to_string(count) + " fields");
        std::size_t total = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const auto type = static_cast<FieldType>(bytes_[fieldsAt_ + 2 * i]);
            const std::uint8_t size = bytes_[fieldsAt_ + 2 * i + 1];
            const std::uint16_t inRecord = recordBytes(type, size);
            if (inRecord == 0)
                fail(file_, "field " + std::to_string(i + 1) + " of type " + std::string(typeName(type)) +
                                " has the impossible size " + std::to_string(size));
            h.fields.push_back({type, inRecord, size, {}});
            total += inRecord;
        }
        if (total != h.recordSize)
            fail(file_, "the fields take " + std::to_string(total) + " bytes but the record size is " +
                            std::to_string(h.recordSize));
    }

    void readNames(Header& h)
    {
        // The table-name pointer and one pointer per field hold runtime values only.
        std::size_t pos = fieldsAt_ + 2 * h.fields.size() + 4 + 4 * h.fields.size();
        const std::size_t nameSize = tableNameSize(h.fileVersion);
        if (pos + nameSize > bytes_.size())
            fail(file_, "the header ends before the table name");
        const auto name = bytes_.subspan(pos, nameSize);
        h.tableName.assign(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
        pos += nameSize;
        for (RawField& field : h.fields)
            field.name = readString(pos, "the field names run past the end of the header");
        if (hasDataHeader(h.fileVersion))
            pos += 2 * h.fields.size();
        if (pos < bytes_.size()) {
            const Bytes order = readString(pos, "the sort order name runs past the end of the header");
            h.sortOrder.assign(order.begin(), order.end());
        }
    }

    Bytes readString(std::size_t& pos, const char* fault)
    {
        const auto rest = bytes_.subspan(std::min(pos, bytes_.size()));
        const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (end == rest.end())
            fail(file_, fault);
        Bytes text(rest.begin(), end);
        pos += text.size() + 1;
        return text;
    }

    std::span<const std::uint8_t> bytes_;
    const std::filesystem::path& file_;
    std::size_t fieldsAt_ = 0;
};

} // namespace

Header parseHeader(std::span<const std::uint8_t> bytes, const std::filesystem::path& file)
{
    return HeaderReader(bytes, file).read();
}

Bytes buildHeader(const std::vector<RawField>& fields, const Bytes& tableName, int codePage)
{
    const auto count = static_cast<std::uint16_t>(fields.size());
    std::size_t namesSize = 0;
    std::uint16_t recordSize = 0;
    for (const RawField& field : fields) {
        namesSize += field.name.size() + 1;
        recordSize = static_cast<std::uint16_t>(recordSize + field.size);
    }
    const std::size_t namesAt = dataHeaderFieldsAt + 6u * count + 4 + level7TableNameSize;
    const std::size_t fieldNumbersAt = namesAt + namesSize;
    const std::size_t realHeaderSize = fieldNumbersAt + 2u * count + sortOrderName.size() + 1;
    const std::size_t headerSize = (realHeaderSize + headerUnit - 1) / headerUnit * headerUnit;

    Bytes h(headerSize, 0);
    std::uint8_t* b = h.data();
    putLe16(b + recordSizeAt, recordSize);
    putLe16(b + headerSizeAt, static_cast<std::uint16_t>(headerSize));
    b[fileTypeAt] = plainTable;
    b[blockSizeAt] = 2;
    // Constants as every Borland-written level-7 table without an index has them.
    putLe16(b + 0x12, 5);
    putLe16(b + fieldCountAt, count);
    putLe32(b + encryptionAt, notEncrypted);
    b[sortOrderCodeAt] = sortOrderCode;
    b[changeCountAt] = 1;
    b[changeCountAt + 1] = 1;
    b[fileVersionAt] = level7Version;
    b[0x3E] = 0x1F;
    b[0x3F] = 0x0F;
    putLe16(b + realHeaderSizeAt, static_cast<std::uint16_t>(realHeaderSize));
    b[0x56] = 0x20;
    putLe16(b + dataHeaderAt, 0x010C);
    putLe16(b + dataHeaderAt + 2, 0x010C);
    putLe16(b + 0x64, static_cast<std::uint16_t>(count + 1));
    putLe16(b + 0x66, static_cast<std::uint16_t>(fieldNumbersAt - dataHeaderAt));
    putLe16(b + codePageAt, static_cast<std::uint16_t>(codePage));
    b[0x6C] = 1;
    b[0x6D] = 1;
    putLe16(b + 0x6E, static_cast<std::uint16_t>(realHeaderSize - 0x61));
    putLe16(b + 0x70, 1);

    std::uint8_t* p = b + dataHeaderFieldsAt;
    for (const RawField& field : fields) {
        *p++ = static_cast<std::uint8_t>(field.type);
        *p++ = field.descriptorSize;
    }
    p += 4 + 4 * count; // runtime pointers, zero on disk
    std::copy_n(tableName.begin(), std::min(tableName.size(), level7TableNameSize - 1), p);
    p = b + namesAt;
    for (const RawField& field : fields)
        p = std::copy(field.name.begin(), field.name.end(), p) + 1;
    for (std::uint16_t i = 1; i <= count; ++i, p += 2)
        putLe16(p, i);
    std::copy(sortOrderName.begin(), sortOrderName.end(), p);
    storeCounters(h, {}, 1, level7Version);
    return h;
}

void storeCounters(std::span<std::uint8_t> header, const BlockCounters& counters, std::uint8_t changeCount,
                   std::uint8_t fileVersion)
{
    std::uint8_t* b = header.data();
    putLe32(b + recordsAt, counters.records);
    putLe16(b + blocksInUseAt, counters.blocksInUse);
    putLe16(b + blocksInFileAt, counters.blocksInFile);
    putLe16(b + firstBlockAt, counters.firstBlock);
    putLe16(b + lastBlockAt, counters.lastBlock);
    putLe16(b + maxBlocksAt, counters.blocksInFile);
    putLe16(b + firstFreeAt, counters.firstFreeBlock);
    b[changeCountAt] = changeCount;
    if (hasDataHeader(fileVersion))
        putLe32(b + updateTimeAt, static_cast<std::uint32_t>(std::time(nullptr)));
}

} // namespace paradox
