#include "present/json_sink.h"

#include <charconv>
#include <cstring>

#include "store/status.h"

namespace fruplat {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// The characters a JSON string holds as they are: one look-up per
// character, the cost of the whole document's text.
struct PlainTable {
    bool plain[256] = {};
    constexpr PlainTable()
    {
        for (int c = 0x20; c < 0x7F; ++c)
            plain[c] = c != '"' && c != '\\';
    }
    constexpr bool operator[](unsigned char c) const { return plain[c]; }
};
constexpr PlainTable kPlain;

const char *kind_key(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Text:
        return "text";
    case ValueKind::Number:
        return "number";
    case ValueKind::Bytes:
        return "bytes";
    case ValueKind::Status:
        return "status";
    case ValueKind::Timestamp:
        return "timestamp";
    case ValueKind::Enum:
        return "enum";
    }
    return "text";
}

void append_string(std::string &out, const std::string &text)
{
    append_json_string(out, text.data(), text.size());
}

void append_cstring(std::string &out, const char *text)
{
    append_json_string(out, text, std::char_traits<char>::length(text));
}

void append_number(std::string &out, int64_t number)
{
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, number).ptr);
}

// The length of the well-formed UTF-8 character at `text`, or 0: maker
// names and file paths may hold any, and JSON takes them as they are.
size_t utf8_sequence(const char *text, size_t size)
{
    const auto byte = [text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong form
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (n == 0 || n > size || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < n; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return n;
}

// How many of the first bytes are printable ASCII other than '"' and '\\',
// eight at a time: nearly every string of a document is only these, and a
// look-up per byte would cost more than the rest of the document.
size_t plain_prefix(const char *text, size_t size)
{
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHigh = 0x8080808080808080u;
    const auto has_zero = [](uint64_t v) { return (v - kOnes) & ~v & kHigh; };
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, text + i, 8);
        // Below 0x20, 0x7F and above, a quote, a backslash: any of them in
        // any byte, whatever the byte order.
        const uint64_t special = ((word - 0x2020202020202020u) | word | (word + kOnes)) & kHigh;
        if (special != 0 || has_zero(word ^ 0x2222222222222222u) != 0 ||
            has_zero(word ^ 0x5C5C5C5C5C5C5C5Cu) != 0)
            break;
    }
    while (i < size && kPlain[static_cast<unsigned char>(text[i])])
        ++i;
    return i;
}

// Writers into room made beforehand (see `bound`): a field is some ten
// pieces, and a capacity check for each would cost more than writing it.
template <size_t N>
char *put(char *at, const char (&literal)[N])
{
    std::memcpy(at, literal, N - 1);
    return at + N - 1;
}

char *put_raw(char *at, const char *text, size_t size)
{
    std::memcpy(at, text, size);
    return at + size;
}

// A string, quoted and escaped: at most 2 + 6 * size characters.
char *put_string(char *at, const char *text, size_t size)
{
    *at++ = '"';
    size_t i = plain_prefix(text, size);
    at = put_raw(at, text, i);
    while (i < size) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (kPlain[c]) {
            *at++ = text[i++];
        } else if (const size_t n = utf8_sequence(text + i, size - i); n > 0) {
            at = put_raw(at, text + i, n);
            i += n;
        } else if (c == '"' || c == '\\') {
            *at++ = '\\';
            *at++ = text[i++];
        } else {
            // A byte that starts no UTF-8 character is kept as its code, so
            // that the document stays valid UTF-8.
            at = put(at, "\\u00");
            *at++ = kHexDigits[c >> 4];
            *at++ = kHexDigits[c & 15];
            ++i;
        }
    }
    *at++ = '"';
    return at;
}

char *put_string(char *at, const std::string &text)
{
    return put_string(at, text.data(), text.size());
}

// At most 20 characters.
char *put_number(char *at, int64_t number)
{
    return std::to_chars(at, at + 20, number).ptr;
}

constexpr size_t kMostEscaped = 6;  // "\u00XX" for one byte

// The status and its text; the text is null where there is no failure, so
// that the key is always there. At most 40 + kMostEscaped * the text's size.
char *put_status(char *at, int32_t status)
{
    at = put(at, "\"status\":");
    at = put_number(at, status);
    at = put(at, ",\"error\":");
    if (status == kOk)
        return put(at, "null");
    const char *error = status_text(status);
    return put_string(at, error, std::strlen(error));
}

size_t status_bound(int32_t status)
{
    return 40 + kMostEscaped * std::strlen(status_text(status));
}

void append_status(std::string &out, int32_t status)
{
    const size_t old = out.size();
    out.resize(old + status_bound(status));
    out.resize(static_cast<size_t>(put_status(out.data() + old, status) - out.data()));
}

size_t bound(const PresentedField &field)
{
    const size_t strings = field.name.size() + field.value.size() + field.unit.size() + field.symbol.size();
    const size_t status = field.kind == ValueKind::Status ? status_bound(static_cast<int32_t>(field.number)) : 0;
    return 128 + kMostEscaped * strings + status + 2 * field.bytes.size();
}

}  // namespace

void append_json_string(std::string &out, const char *text, size_t size)
{
    const size_t old = out.size();
    out.resize(old + 2 + kMostEscaped * size);
    out.resize(static_cast<size_t>(put_string(out.data() + old, text, size) - out.data()));
}

namespace {
constexpr size_t kSpillSize = 1 << 16;
}

JsonSink::JsonSink(FILE *out) : out_(out)
{
    text_.reserve(kSpillSize + (kSpillSize >> 2));
    text_ = "{\"format\":\"quillet-show\",\"version\":1,\"containers\":[";
}

void JsonSink::begin_container(const std::string &source, const char *family, bool is_file)
{
    if (!first_container_)
        text_ += ',';
    first_container_ = false;
    first_record_ = true;
    text_ += is_file ? "\n{\"file\":" : "\n{\"nac\":";
    append_string(text_, source);
    text_ += ",\"family\":";
    append_cstring(text_, family);
    text_ += ",\"records\":[";
}

void JsonSink::end_container(int32_t status)
{
    text_ += "],";
    append_status(text_, status);
    text_ += '}';
    if (text_.size() >= kSpillSize)
        spill();
}

void JsonSink::spill()
{
    written_ = std::fwrite(text_.data(), 1, text_.size(), out_) == text_.size() && written_;
    text_.clear();
}

void JsonSink::begin_record(const RecordStart &start)
{
    if (!first_record_)
        text_ += ',';
    first_record_ = false;
    first_entry_ = true;
    in_entry_ = false;
    text_ += "\n{\"name\":";
    append_cstring(text_, start.name);
    text_ += ",\"ring_capacity\":";
    append_number(text_, static_cast<int64_t>(start.ring_capacity));
    text_ += ',';
    append_status(text_, kOk);
    text_ += ",\"entries\":[";
    // A record that is not iterative is its one entry.
    if (start.ring_capacity == 0 && !start.titled_entries)
        begin_entry(1, nullptr);
}

void JsonSink::begin_entry(size_t number, const char *title)
{
    close_entry();
    if (!first_entry_)
        text_ += ',';
    first_entry_ = false;
    in_entry_ = true;
    first_field_ = true;
    text_ += "{\"entry\":";
    append_number(text_, static_cast<int64_t>(number));
    if (title != nullptr) {
        text_ += ",\"title\":";
        append_cstring(text_, title);
    }
    text_ += ",\"fields\":[";
}

void JsonSink::close_entry()
{
    if (in_entry_)
        text_ += "]}";
    in_entry_ = false;
}

void JsonSink::field(const PresentedField &field)
{
    const size_t old = text_.size();
    text_.resize(old + bound(field));
    char *at = text_.data() + old;
    if (!first_field_)
        *at++ = ',';
    first_field_ = false;
    at = put(at, "{\"name\":");
    at = put_string(at, field.name);
    at = put(at, ",\"kind\":\"");
    const char *kind = kind_key(field.kind);
    at = put_raw(at, kind, std::strlen(kind));
    at = put(at, "\",\"text\":");
    at = put_string(at, field.value);
    switch (field.kind) {
    case ValueKind::Text:
        break;
    case ValueKind::Number:
    case ValueKind::Timestamp:
        at = put(at, ",\"value\":");
        at = put_number(at, field.number);
        at = put(at, ",\"unit\":");
        at = put_string(at, field.unit);
        break;
    case ValueKind::Enum:
        at = put(at, ",\"value\":");
        at = put_number(at, field.number);
        at = put(at, ",\"symbol\":");
        at = field.symbol.empty() ? put(at, "null") : put_string(at, field.symbol);
        break;
    case ValueKind::Bytes:
        at = put(at, ",\"hex\":\"");
        for (const uint8_t byte : field.bytes) {
            *at++ = kHexDigits[byte >> 4];
            *at++ = kHexDigits[byte & 15];
        }
        *at++ = '"';
        break;
    case ValueKind::Status:
        at = put(at, ",");
        at = put_status(at, static_cast<int32_t>(field.number));
        break;
    }
    *at++ = '}';
    text_.resize(static_cast<size_t>(at - text_.data()));
}

void JsonSink::end_record()
{
    close_entry();
    text_ += "]}";
}

void JsonSink::unreadable_record(const char *name, int32_t status)
{
    if (!first_record_)
        text_ += ',';
    first_record_ = false;
    text_ += "\n{\"name\":";
    append_cstring(text_, name);
    text_ += ",\"ring_capacity\":0,";
    append_status(text_, status);
    text_ += ",\"entries\":[]}";
}

bool JsonSink::finish()
{
    text_ += "\n]}\n";
    spill();
    return std::fflush(out_) == 0 && written_;
}

}  // namespace fruplat
