#pragma once
// Builders for the model and image files the loader tests, benchmarks and fuzz seeds use.
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// A fresh directory under /tmp; the tests never write into the source tree.
inline std::string makeTempDir() {
    char pattern[] = "/tmp/dustRidersLoaders.XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "/tmp";
}

inline void removeTempDir(const std::string& dir) {
    std::error_code ignored;
    if (dir.rfind("/tmp/dustRidersLoaders.", 0) == 0)
        std::filesystem::remove_all(dir, ignored);
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

inline void putU16(Bytes& out, unsigned value) {
    out.push_back((unsigned char)(value & 0xFF));
    out.push_back((unsigned char)((value >> 8) & 0xFF));
}

inline void putU32(Bytes& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

inline void putFloat(Bytes& out, float value) {
    uint32_t bits;
    memcpy(&bits, &value, 4);
    putU32(out, bits);
}

// A chunk with its true length around payload (sub-chunks already appended to it).
inline Bytes chunk(unsigned id, const Bytes& payload) {
    Bytes out;
    putU16(out, id);
    putU32(out, (uint32_t)(payload.size() + 6));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes objectBlock(const char* name, const Bytes& contents) {
    Bytes payload(name, name + strlen(name) + 1);
    payload.insert(payload.end(), contents.begin(), contents.end());
    return chunk(0x4000, payload);
}

// A list chunk of float records: a 16-bit record count, then the floats.
inline Bytes floatList(unsigned id, const std::vector<float>& values, size_t floatsPerRecord) {
    Bytes payload;
    putU16(payload, (unsigned)(values.size() / floatsPerRecord));
    for (float v : values)
        putFloat(payload, v);
    return chunk(id, payload);
}

inline Bytes vertexList(const std::vector<float>& xyz) {
    return floatList(0x4110, xyz, 3);
}

// Three indices a face; the flags word is written as 7.
inline Bytes faceList(const std::vector<unsigned>& abc, const Bytes& subChunks = Bytes()) {
    Bytes payload;
    putU16(payload, (unsigned)(abc.size() / 3));
    for (size_t i = 0; i < abc.size(); i += 3) {
        putU16(payload, abc[i]);
        putU16(payload, abc[i + 1]);
        putU16(payload, abc[i + 2]);
        putU16(payload, 7);
    }
    payload.insert(payload.end(), subChunks.begin(), subChunks.end());
    return chunk(0x4120, payload);
}

inline Bytes mappingList(const std::vector<float>& uv) {
    return floatList(0x4140, uv, 2);
}

inline Bytes meshFile(const Bytes& objects) {
    return chunk(0x4D4D, chunk(0x3D3D, objects));
}

// A mesh written by lib3ds: xyz has 3 floats a vertex, abc 3 indices a face, uv 2 floats a texel.
inline bool writeLib3dsMesh(const std::string& path, const char* name,
                            const std::vector<float>& xyz, const std::vector<unsigned>& abc,
                            const std::vector<float>& uv) {
    Lib3dsFile* file = lib3ds_file_new();
    Lib3dsMesh* mesh = lib3ds_mesh_new(name);
    lib3ds_mesh_new_point_list(mesh, (Lib3dsDword)(xyz.size() / 3));
    for (size_t i = 0; i < xyz.size() / 3; i++)
        for (int k = 0; k < 3; k++)
            mesh->pointL[i].pos[k] = xyz[i * 3 + k];
    lib3ds_mesh_new_face_list(mesh, (Lib3dsDword)(abc.size() / 3));
    for (size_t i = 0; i < abc.size() / 3; i++)
        for (int k = 0; k < 3; k++)
            mesh->faceL[i].points[k] = (Lib3dsWord)abc[i * 3 + k];
    if (!uv.empty()) {
        lib3ds_mesh_new_texel_list(mesh, (Lib3dsDword)(uv.size() / 2));
        for (size_t i = 0; i < uv.size() / 2; i++) {
            mesh->texelL[i][0] = uv[i * 2];
            mesh->texelL[i][1] = uv[i * 2 + 1];
        }
    }
    lib3ds_file_insert_mesh(file, mesh);
    bool saved = lib3ds_file_save(file, path.c_str());
    lib3ds_file_free(file);
    return saved;
}

// A BMP around pixelData, which is placed at pixelOffset as given (padding is the caller's).
inline Bytes bitmapFile(int32_t width, int32_t height, const Bytes& pixelData,
                        uint32_t pixelOffset = 54, unsigned bitCount = 24,
                        uint32_t compression = 0) {
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, (uint32_t)(pixelOffset + pixelData.size()));
    putU32(out, 0);
    putU32(out, pixelOffset);
    putU32(out, 40);
    putU32(out, (uint32_t)width);
    putU32(out, (uint32_t)height);
    putU16(out, 1);
    putU16(out, bitCount);
    putU32(out, compression);
    putU32(out, (uint32_t)pixelData.size());
    putU32(out, 2835);
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    out.resize(pixelOffset > out.size() ? pixelOffset : out.size(), 0);
    out.insert(out.end(), pixelData.begin(), pixelData.end());
    return out;
}

// Resident set size of this process in kB (VmRSS), or -1.
inline long residentKilobytes() {
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    long kilobytes = -1;
    while (status && fgets(line, sizeof(line), status))
        if (sscanf(line, "VmRSS: %ld kB", &kilobytes) == 1)
            break;
    if (status)
        fclose(status);
    return kilobytes;
}
