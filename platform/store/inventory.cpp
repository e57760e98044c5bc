#include "store/inventory.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/input_file.h"
#include "store/status.h"

#ifndef QUILLET_DEFAULT_STORE
#define QUILLET_DEFAULT_STORE "/var/lib/quillet"
#endif

namespace fruplat {

namespace {

struct FamilyRow {
    Family family;
    const char *name;
    int32_t types[2];  // the container types the family answers to
    const char *type_text;
};

constexpr FamilyRow kFamilies[] = {
    {Family::Zan, "zan", {0, 4}, "0 or 4"},
    {Family::Ipmi, "ipmi", {1, 1}, "1"},
    {Family::Dimm, "dimm", {2, 2}, "2"},
    {Family::Pirom, "pirom", {3, 3}, "3"},
};

const FamilyRow &row_of(Family family)
{
    for (const FamilyRow &f : kFamilies)
        if (f.family == family)
            return f;
    return kFamilies[0];
}

bool parse_number(std::string_view text, long long low, long long high, long long *out)
{
    if (text.empty() || text.size() > 24)
        return false;
    char digits[25];
    text.copy(digits, text.size());
    digits[text.size()] = '\0';
    errno = 0;
    char *end = nullptr;
    const long long v = std::strtoll(digits, &end, 0);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    *out = v;
    return true;
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits a line at blanks into at most `max` words; the count, or max + 1
// when there are more.
size_t split_words(std::string_view line, std::string_view *words, size_t max)
{
    size_t count = 0;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && is_blank(line[at]))
            ++at;
        if (at == line.size())
            break;
        const size_t start = at;
        while (at < line.size() && !is_blank(line[at]))
            ++at;
        if (count == max)
            return max + 1;
        words[count++] = line.substr(start, at - start);
    }
    return count;
}

constexpr const char *kLineShape = "expected: NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]";

// Fills `entry` from one inventory line; the problem when it cannot.
std::string parse_line(std::string_view line, ContainerEntry *entry)
{
    // A NUL would cut the NAC name or path short wherever it is used as C
    // text: the name could never be looked up, the path would open another file.
    if (line.find('\0') != std::string_view::npos)
        return "a line may not hold a NUL byte";
    std::string_view words[7];
    const size_t count = split_words(line, words, 7);
    if (count < 5)
        return kLineShape;
    entry->nac.assign(words[0]);
    entry->path.assign(words[3]);
    long long number = 0;
    for (size_t i = 5; i < count; ++i) {
        if (i == 7)
            return "after CAPACITY only 'device' and 'page=BYTES' (1 to 4096) may follow";
        const std::string_view extra = words[i];
        if (extra == "device" && !entry->device)
            entry->device = true;
        else if (extra.substr(0, 5) == "page=" && parse_number(extra.substr(5), 1, 4096, &number))
            entry->page_size = static_cast<uint32_t>(number);
        else
            return "after CAPACITY only 'device' and 'page=BYTES' (1 to 4096) may follow";
    }
    if (words[1] == "unknown") {
        entry->type_known = false;
    } else if (parse_number(words[1], INT32_MIN, INT32_MAX, &number)) {
        entry->type = static_cast<int32_t>(number);
    } else {
        return "TYPE must be a number or 'unknown'";
    }
    if (!family_from_name(std::string(words[2]), &entry->family))
        return "FAMILY must be zan, ipmi, dimm or pirom";
    if (!parse_number(words[4], 1, kMaxCapacity, &number))
        return "CAPACITY must be a byte count from 1 to 1048576";
    entry->capacity = static_cast<uint32_t>(number);
    return entry_problem(*entry);
}

int32_t parse_inventory(const std::string &file, std::string_view text, Inventory *inventory)
{
    size_t at = 0;
    for (int number = 1; at < text.size(); ++number) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        size_t first = 0;
        while (first < line.size() && is_blank(line[first]))
            ++first;
        if (first == line.size() || line[first] == '#')
            continue;
        ContainerEntry entry;
        const std::string problem = parse_line(line, &entry);
        if (!problem.empty()) {
            std::fprintf(stderr, "fru store: %s line %d: %s\n", file.c_str(), number, problem.c_str());
            return kBadInventory;
        }
        if (find_container(*inventory, entry.nac.c_str()) != nullptr) {
            std::fprintf(stderr, "fru store: %s line %d: container %s listed twice\n",
                         file.c_str(), number, entry.nac.c_str());
            return kBadInventory;
        }
        entry.image_path = resolve_image_path(inventory->store_dir, entry.path);
        add_entry(inventory, entry);
    }
    return kOk;
}

// The whole inventory file, read without blocking and with a bound.
int32_t read_inventory_file(const std::string &file, RawText *text, struct stat *identity)
{
    const int fd = open_checked(file.c_str(), O_RDONLY, FileKinds::RegularOnly, identity);
    if (fd == -kImageIo)
        return kNoStore;
    if (fd < 0) {
        std::fprintf(stderr, "fru store: %s is not a regular file\n", file.c_str());
        return kBadInventory;
    }
    int32_t status = read_bounded(fd, kMaxInventoryBytes, text, identity);
    close(fd);
    if (status == kInputTooLarge) {
        std::fprintf(stderr, "fru store: %s is larger than %zu bytes\n", file.c_str(),
                     kMaxInventoryBytes);
        return kBadInventory;
    }
    return status == kOk ? kOk : kNoStore;
}

bool same_file(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

const char *family_name(Family family)
{
    return row_of(family).name;
}

bool family_from_name(const std::string &name, Family *family)
{
    for (const FamilyRow &f : kFamilies) {
        if (name == f.name) {
            *family = f.family;
            return true;
        }
    }
    return false;
}

const char *family_types(Family family)
{
    return row_of(family).type_text;
}

bool type_fits_family(int32_t type, Family family)
{
    const FamilyRow &row = row_of(family);
    return type == row.types[0] || type == row.types[1];
}

const char *nac_problem(const std::string &nac)
{
    // '#' would turn the line into a comment; blanks would split it.
    static constexpr const char *kRule =
        "NAC must be 1 to 64 printable characters without blanks or '#'";
    if (nac.empty() || nac.size() > kMaxNacLength)
        return kRule;
    for (const char c : nac)
        if (c <= ' ' || c > '~' || c == '#')
            return kRule;
    return nullptr;
}

const char *path_problem(const std::string &path)
{
    static constexpr const char *kRule =
        "PATH must be 1 to 4095 characters without blanks or control characters";
    if (path.empty() || path.size() > kMaxPathLength)
        return kRule;
    for (const char c : path) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F)
            return kRule;
    }
    return nullptr;
}

std::string entry_problem(const ContainerEntry &entry)
{
    if (const char *problem = nac_problem(entry.nac))
        return problem;
    if (entry.type_known && !type_fits_family(entry.type, entry.family))
        return std::string("TYPE ") + std::to_string(entry.type) + " does not fit FAMILY " +
               family_name(entry.family) + ", which takes " + family_types(entry.family) +
               " (or unknown)";
    if (const char *problem = path_problem(entry.path))
        return problem;
    if (entry.capacity < 1 || entry.capacity > kMaxCapacity)
        return "CAPACITY must be a byte count from 1 to 1048576";
    if (entry.page_size < 1 || entry.page_size > 4096)
        return "after CAPACITY only 'device' and 'page=BYTES' (1 to 4096) may follow";
    return {};
}

std::string store_directory()
{
    const char *env = std::getenv("QUILLET_FRU_STORE");
    return env != nullptr && *env != '\0' ? env : QUILLET_DEFAULT_STORE;
}

std::string resolve_image_path(const std::string &store_dir, const std::string &path)
{
    return !path.empty() && path[0] == '/' ? path : store_dir + "/" + path;
}

int32_t load_inventory(const std::string &store_dir, Inventory *inventory)
{
    inventory->store_dir = store_dir;
    inventory->entries.clear();
    inventory->index.clear();
    const std::string file = store_dir + "/inventory";
    RawText text;
    struct stat identity;
    const int32_t status = read_inventory_file(file, &text, &identity);
    if (status != kOk)
        return status;
    return parse_inventory(
        file, std::string_view(reinterpret_cast<const char *>(text.data.get()), text.size), inventory);
}

namespace {

// The first word of `line`, as parse_line splits it.
std::string_view first_word(std::string_view line)
{
    size_t at = 0;
    while (at < line.size() && is_blank(line[at]))
        ++at;
    size_t end = at;
    while (end < line.size() && !is_blank(line[end]))
        ++end;
    return line.substr(at, end - at);
}

// Where `word` next occurs from `from`: memchr for its first byte, which
// the C library scans many bytes at a time (string_view::find goes byte by
// byte), then a compare.
size_t find_text(std::string_view text, std::string_view word, size_t from)
{
    while (from + word.size() <= text.size()) {
        const void *hit = std::memchr(text.data() + from, word[0], text.size() - word.size() + 1 - from);
        if (hit == nullptr)
            break;
        const size_t at = static_cast<size_t>(static_cast<const char *>(hit) - text.data());
        if (std::memcmp(text.data() + at, word.data(), word.size()) == 0)
            return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

// The next line from `from` whose first word is `nac`, found with a
// substring search rather than by splitting every line; npos when none.
size_t next_line_of(std::string_view text, std::string_view nac, size_t from)
{
    for (size_t hit = find_text(text, nac, from); hit != std::string_view::npos;
         hit = find_text(text, nac, hit + 1)) {
        size_t start = hit;
        while (start > 0 && is_blank(text[start - 1]))
            --start;
        if (start > 0 && text[start - 1] != '\n')
            continue;
        const size_t end = std::min(text.find('\n', hit), text.size());
        if (first_word(text.substr(start, end - start)) == nac)
            return start;
    }
    return std::string_view::npos;
}

// One inventory line parsed on its own, reported as a whole-file parse
// would report it.
int32_t parse_found_line(const std::string &file, std::string_view text, size_t start,
                         ContainerEntry *entry)
{
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string problem = parse_line(text.substr(start, end - start), entry);
    if (problem.empty())
        return kOk;
    const long number = std::count(text.begin(), text.begin() + static_cast<long>(start), '\n') + 1;
    std::fprintf(stderr, "fru store: %s line %ld: %s\n", file.c_str(), number, problem.c_str());
    return kBadInventory;
}

}  // namespace

int32_t find_inventory_entry(const char *nac, ContainerEntry *entry)
{
    // The file is replaced by rename on every change, so its identity says
    // whether the copy read earlier in this process still holds.
    static std::string cached_file;
    static RawText cached_text;
    static struct stat cached_identity;
    const std::string store_dir = store_directory();
    const std::string file = store_dir + "/inventory";
    struct stat now;
    if (cached_file != file || stat(file.c_str(), &now) != 0 || !same_file(now, cached_identity)) {
        cached_file.clear();
        const int32_t status = read_inventory_file(file, &cached_text, &cached_identity);
        if (status != kOk)
            return status;
        cached_file = file;
    }
    const std::string_view text(reinterpret_cast<const char *>(cached_text.data.get()), cached_text.size);
    const std::string_view name = nac != nullptr ? nac : "";
    const size_t first = name.empty() ? std::string_view::npos : next_line_of(text, name, 0);
    if (first == std::string_view::npos)
        return kUnknownContainer;
    ContainerEntry found;
    int32_t status = parse_found_line(file, text, first, &found);
    if (status != kOk)
        return status;
    const size_t second = next_line_of(text, name, std::min(text.find('\n', first), text.size()));
    if (second != std::string_view::npos) {
        ContainerEntry again;
        status = parse_found_line(file, text, second, &again);
        if (status != kOk)
            return status;
        const long number = std::count(text.begin(), text.begin() + static_cast<long>(second), '\n') + 1;
        std::fprintf(stderr, "fru store: %s line %ld: container %s listed twice\n", file.c_str(),
                     number, found.nac.c_str());
        return kBadInventory;
    }
    found.image_path = resolve_image_path(store_dir, found.path);
    *entry = std::move(found);
    return kOk;
}

int32_t save_inventory(const Inventory &inventory)
{
    std::string text = "# NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]\n";
    for (const ContainerEntry &e : inventory.entries) {
        if (!entry_problem(e).empty())
            return kBadInventory;
        text += e.nac;
        text += ' ';
        text += e.type_known ? std::to_string(e.type) : "unknown";
        text += ' ';
        text += family_name(e.family);
        text += ' ';
        text += e.path;
        text += ' ';
        text += std::to_string(e.capacity);
        if (e.device)
            text += " device";
        if (e.page_size != kDefaultPageSize)
            text += " page=" + std::to_string(e.page_size);
        text += '\n';
    }
    return replace_file(inventory.store_dir + "/inventory", Bytes(text.begin(), text.end()));
}

const ContainerEntry *find_container(const Inventory &inventory, const char *nac)
{
    if (nac == nullptr)
        return nullptr;
    const auto it = inventory.index.find(nac);
    return it == inventory.index.end() ? nullptr : &inventory.entries[it->second];
}

void add_entry(Inventory *inventory, const ContainerEntry &entry)
{
    inventory->index[entry.nac] = inventory->entries.size();
    inventory->entries.push_back(entry);
}

bool remove_entry(Inventory *inventory, const std::string &nac)
{
    const auto it = inventory->index.find(nac);
    if (it == inventory->index.end())
        return false;
    inventory->entries.erase(inventory->entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    inventory->index.clear();
    for (size_t i = 0; i < inventory->entries.size(); ++i)
        inventory->index[inventory->entries[i].nac] = i;
    return true;
}

}  // namespace fruplat
