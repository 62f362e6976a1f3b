// The .res reader; see resource_file.h. Each entry is a RESOURCEHEADER
// (DataSize, HeaderSize, TYPE, NAME, DWORD padding, DataVersion, MemoryFlags,
// LanguageId, Version, Characteristics) followed by the data, and the next
// entry starts at the following DWORD boundary.
#include "resource_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<Resource> ParseResourceFile(const std::vector<uint8_t>& bytes) {
    std::vector<Resource> resources;
    size_t offset = 0;
    bool first = true;
    while (offset < bytes.size()) {
        ResourceReader header(bytes, offset, bytes.size());
        uint32_t dataSize = header.Dword();
        uint32_t headerSize = header.Dword();
        Resource resource;
        resource.type = header.NameOrOrdinalField();
        resource.name = header.NameOrOrdinalField();
        header.AlignToDword();
        header.Dword();  // DataVersion
        resource.memoryFlags = header.Word();
        resource.language = header.Word();
        header.Dword();  // Version
        header.Dword();  // Characteristics
        if (headerSize < header.Offset() || headerSize % 4 != 0) {
            throw std::runtime_error("bad resource header size at offset " + std::to_string(offset));
        }
        size_t dataBegin = offset + headerSize;
        if (dataBegin > bytes.size() || dataSize > bytes.size() - dataBegin) {
            throw std::runtime_error("resource data runs past the end of the file at offset " +
                                     std::to_string(offset));
        }
        if (first) {
            // A 32-bit .res file opens with an empty entry of type and name 0;
            // without it this is a 16-bit file or not a .res file at all.
            if (dataSize != 0 || resource.type != NameOrOrdinal::Ordinal(0) ||
                resource.name != NameOrOrdinal::Ordinal(0)) {
                throw std::runtime_error("not a 32-bit .res file");
            }
            first = false;
        } else {
            resource.data.assign(bytes.begin() + dataBegin, bytes.begin() + dataBegin + dataSize);
            resources.push_back(std::move(resource));
        }
        offset = (dataBegin + dataSize + 3) & ~size_t{3};
    }
    if (first) throw std::runtime_error("empty .res file");
    return resources;
}

std::vector<const Resource*> FindResources(const std::vector<Resource>& resources, uint16_t type,
                                           uint16_t name) {
    std::vector<const Resource*> found;
    for (const Resource& r : resources) {
        if (r.type == NameOrOrdinal::Ordinal(type) && r.name == NameOrOrdinal::Ordinal(name)) {
            found.push_back(&r);
        }
    }
    return found;
}

std::vector<const Resource*> FindResourcesOfType(const std::vector<Resource>& resources, uint16_t type) {
    std::vector<const Resource*> found;
    for (const Resource& r : resources) {
        if (r.type == NameOrOrdinal::Ordinal(type)) found.push_back(&r);
    }
    return found;
}
