// Fills the manual pages and the shell completion from the tables quillet and
// the platform layer run on (record class catalogue, element table, record
// buffers, platform statuses, container families), so that the documents
// cannot describe another program than the one built.
//
//   doc_tables TEMPLATE OUTPUT
//
// copies TEMPLATE to OUTPUT with every @generate:NAME@ replaced by the
// fragment NAME.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "records/buffer_set.h"
#include "records/catalogue.h"
#include "records/element_table.h"
#include "registry/registry.h"
#include "store/inventory.h"
#include "store/status.h"

namespace {

using quillet::ContainerType;
using quillet::ElementKind;
using quillet::ElementRow;
using quillet::RecordId;

struct TypeSection {
    ContainerType type;
    const char *title;
};

constexpr TypeSection kTypes[] = {
    {ContainerType::Zan, "ZAN-format containers (type 0, and 4)"},
    {ContainerType::Ipmi, "IPMI-format containers (type 1), read only"},
    {ContainerType::Dimm, "DIMM containers (type 2)"},
    {ContainerType::Pirom, "PIROM containers (type 3), read only"},
};

// Text that roff takes literally wherever it stands on a line.
std::string roff(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string join(const std::vector<std::string> &items, const char *separator)
{
    std::string out;
    for (const std::string &item : items)
        out += (out.empty() ? std::string() : separator) + item;
    return out;
}

bool targets(const ElementRow &row, RecordId record)
{
    for (const quillet::FieldTarget &t : row.targets)
        if (t.width != 0 && t.record == record)
            return true;
    return false;
}

std::string record_name(RecordId record)
{
    if (record == RecordId::SharedIdentifier)
        return "the identifier records";
    return quillet::kRecordBuffers[static_cast<int>(record)].name;
}

std::string value_form(const ElementRow &row)
{
    const int width = row.targets[0].width;
    std::ostringstream out;
    switch (row.kind) {
    case ElementKind::Ignored: return "accepted with or without a value and ignored";
    case ElementKind::NoStore: return "needs a value, which is not stored";
    case ElementKind::Decimal: out << "a decimal number (" << width << (width == 1 ? " byte)" : " bytes)"); break;
    case ElementKind::Hex: out << "a hexadecimal number (" << width << (width == 1 ? " byte)" : " bytes)"); break;
    case ElementKind::Text:
        out << "text of up to " << width << " bytes";
        out << (row.refuse_limit != 0 ? ", longer text is refused" : ", longer text is cut");
        break;
    case ElementKind::TwoChar: out << "two characters"; break;
    case ElementKind::Registry:
        out << "a name from the registry's " << row.registry->definition << " list";
        break;
    case ElementKind::DeviceType:
        out << "a hexadecimal number written 0x..., or a name from the registry's Device_Type list";
        break;
    case ElementKind::File: out << "the name of a file (mode 0444) whose content is stored"; break;
    }
    if (row.takes_description_text)
        out << "; the \\-t text, when given, is stored instead";
    return out.str();
}

std::vector<std::string> row_names(ContainerType type, int row)
{
    const char *names[quillet::kMaxRowNames];
    const int count = quillet::catalogue_row_names(type, row, names);
    return std::vector<std::string>(names, names + count);
}

// Every class name, each once, in catalogue order.
std::vector<std::string> class_names()
{
    std::vector<std::string> all;
    for (const TypeSection &section : kTypes)
        for (int row = 0;; ++row) {
            const std::vector<std::string> names = row_names(section.type, row);
            if (names.empty())
                break;
            for (const std::string &name : names)
                if (std::find(all.begin(), all.end(), name) == all.end())
                    all.push_back(name);
        }
    if (std::find(all.begin(), all.end(), "IDENTITY") == all.end())
        all.push_back("IDENTITY");
    return all;
}

void record_classes(std::ostream &out)
{
    for (const TypeSection &section : kTypes) {
        out << ".SS \"" << section.title << "\"\n";
        for (int row = 0;; ++row) {
            std::vector<std::string> names = row_names(section.type, row);
            if (names.empty())
                break;
            for (std::string &name : names)
                name = "\\fB" + roff(name) + "\\fR";
            out << ".TP\n" << join(names, ", ") << "\n";
            RecordId row_records[quillet::kMaxRowRecords];
            const int count = quillet::catalogue_row_records(section.type, row, row_records);
            // In the records' own order: the installation classes list the
            // same two records, whichever the container turns out to hold.
            std::vector<RecordId> records(row_records, row_records + count);
            std::sort(records.begin(), records.end());
            std::vector<std::string> parts;
            for (size_t i = 0; i < records.size(); ++i) {
                std::vector<std::string> elements;
                for (size_t e = 0; e < quillet::kElementCount; ++e)
                    if (targets(quillet::kElementTable[e], records[i]))
                        elements.push_back("\\fI" + roff(quillet::kElementTable[e].name) + "\\fR");
                const RecordId r = records[i];
                std::ostringstream part;
                part << roff(record_name(r)) << " ("
                     << quillet::kRecordBuffers[static_cast<int>(r)].size << " bytes)";
                if (!elements.empty())
                    part << ": " << join(elements, ", ");
                else
                    part << ": read only";
                parts.push_back(part.str());
            }
            if (parts.empty())
                out << "Read only.\n";
            else
                out << join(parts, ".\n.br\n") << ".\n";
        }
    }
}

void elements(std::ostream &out)
{
    for (size_t e = 0; e < quillet::kElementCount; ++e) {
        const ElementRow &row = quillet::kElementTable[e];
        std::vector<std::string> records;
        for (const quillet::FieldTarget &t : row.targets) {
            const std::string name = t.width != 0 ? roff(record_name(t.record)) : "";
            if (!name.empty() && std::find(records.begin(), records.end(), name) == records.end())
                records.push_back(name);
        }
        std::string form = value_form(row);
        form[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(form[0])));
        out << ".TP\n\\fB" << roff(row.name) << "\\fR\n" << form << ".";
        if (!records.empty())
            out << "\nIn " << join(records, ", ") << ".";
        out << "\n";
    }
}

void platform_statuses(std::ostream &out)
{
    int32_t status = 0;
    const char *text = nullptr;
    for (size_t i = 0; fruplat::status_entry(i, &status, &text); ++i)
        if (status != fruplat::kOk)
            out << ".TP\n.B " << status << "\n" << roff(text) << "\n";
}

std::vector<std::string> element_names()
{
    std::vector<std::string> names;
    for (size_t e = 0; e < quillet::kElementCount; ++e)
        names.push_back(quillet::kElementTable[e].name);
    return names;
}

std::vector<std::string> family_names()
{
    std::vector<std::string> names;
    for (fruplat::Family f : {fruplat::Family::Zan, fruplat::Family::Ipmi, fruplat::Family::Dimm,
                              fruplat::Family::Pirom})
        names.push_back(fruplat::family_name(f));
    return names;
}

// Lower case, as the completion compares class names.
std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The container types a catalogue section serves, as `fructl list` shows
// them: a bash case pattern.
std::string type_pattern(ContainerType type)
{
    return type == ContainerType::Zan ? "0|4" : std::to_string(static_cast<int>(type));
}

// bash case arms: the class names quillet takes for each container type.
void class_cases(std::ostream &out)
{
    for (const TypeSection &section : kTypes) {
        std::vector<std::string> names;
        for (int row = 0;; ++row) {
            const std::vector<std::string> row_words = row_names(section.type, row);
            if (row_words.empty())
                break;
            names.insert(names.end(), row_words.begin(), row_words.end());
        }
        if (section.type == ContainerType::Ipmi && std::find(names.begin(), names.end(), "IDENTITY") == names.end())
            names.push_back("IDENTITY");
        out << "    " << type_pattern(section.type) << ") classes=\"" << join(names, " ") << "\" ;;\n";
    }
}

// bash case arms keyed "TYPE:class" (lower case): the elements of the
// records a class names on that container type.
void element_cases(std::ostream &out)
{
    for (const TypeSection &section : kTypes)
        for (int row = 0;; ++row) {
            const std::vector<std::string> names = row_names(section.type, row);
            if (names.empty())
                break;
            RecordId records[quillet::kMaxRowRecords];
            const int count = quillet::catalogue_row_records(section.type, row, records);
            std::vector<std::string> elements;
            for (size_t e = 0; e < quillet::kElementCount; ++e)
                for (int r = 0; r < count; ++r)
                    if (targets(quillet::kElementTable[e], records[r]) &&
                        std::find(elements.begin(), elements.end(), quillet::kElementTable[e].name) == elements.end())
                        elements.push_back(quillet::kElementTable[e].name);
            std::vector<std::string> types = {std::to_string(static_cast<int>(section.type))};
            if (section.type == ContainerType::Zan)
                types.push_back(std::to_string(static_cast<int>(ContainerType::ZanAlt)));
            std::vector<std::string> keys;
            for (const std::string &type : types)
                for (const std::string &name : names)
                    keys.push_back(type + ":" + lower(name));
            out << "    " << join(keys, "|") << ") elements=\"" << join(elements, " ") << "\" ;;\n";
        }
}

// bash case arms: the registry's records of each family, for fructl.
void family_record_cases(std::ostream &out)
{
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    for (fruplat::Family f : {fruplat::Family::Zan, fruplat::Family::Ipmi, fruplat::Family::Dimm,
                              fruplat::Family::Pirom}) {
        std::vector<std::string> names;
        for (size_t i = 0; i < count; ++i) {
            const fruplat::RecordDef *def = nullptr;
            if (fruplat::record_of_family(f, defs[i].name, &def) == fruplat::kOk && def == &defs[i])
                names.push_back(defs[i].name);
        }
        out << "    " << fruplat::family_name(f) << ") records=\"" << join(names, " ") << "\" ;;\n";
    }
}

bool fragment(const std::string &name, std::ostream &out)
{
    if (name == "class-cases")
        class_cases(out);
    else if (name == "element-cases")
        element_cases(out);
    else if (name == "family-record-cases")
        family_record_cases(out);
    else
    if (name == "record-classes")
        record_classes(out);
    else if (name == "elements")
        elements(out);
    else if (name == "platform-statuses")
        platform_statuses(out);
    else if (name == "class-words")
        out << join(class_names(), " ");
    else if (name == "element-words")
        out << join(element_names(), " ");
    else if (name == "family-words")
        out << join(family_names(), " ");
    else if (name == "family-list")
        out << join(family_names(), ", ");
    else
        return false;
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: doc_tables TEMPLATE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "doc_tables: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string body = text.str();
    std::string result;
    const std::string open = "@generate:";
    size_t at = 0;
    for (size_t found; (found = body.find(open, at)) != std::string::npos;) {
        const size_t end = body.find('@', found + open.size());
        if (end == std::string::npos)
            break;
        result += body.substr(at, found - at);
        const std::string name = body.substr(found + open.size(), end - found - open.size());
        std::ostringstream piece;
        if (!fragment(name, piece)) {
            std::fprintf(stderr, "doc_tables: %s: no fragment %s\n", argv[1], name.c_str());
            return 1;
        }
        std::string generated = piece.str();
        // A roff fragment stands on its own lines: drop its final newline
        // when the template already ends the line.
        if (!generated.empty() && generated.back() == '\n' && end + 1 < body.size() &&
            body[end + 1] == '\n')
            generated.pop_back();
        result += generated;
        at = end + 1;
    }
    result += body.substr(at);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << result;
    if (!out) {
        std::fprintf(stderr, "doc_tables: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
