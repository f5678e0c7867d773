#include "assetWriters.h"

#include <cstdio>
#include <cstring>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <stb_image_write.h>

static const size_t MAX_LIST = 65535; // every 3DS list count is 16-bit

bool writeModel3ds(const ModelMesh& mesh, const char* meshName, const char* path) {
    size_t points = mesh.vertices.size(), faces = mesh.faces.size();
    if (points > MAX_LIST || faces > MAX_LIST) {
        fprintf(stderr, "generateAssets: %s has too many points or faces for 3DS\n", path);
        return false;
    }
    Lib3dsFile* file = lib3ds_file_new();
    Lib3dsMesh* out = lib3ds_mesh_new(meshName);
    lib3ds_mesh_new_point_list(out, (Lib3dsDword)points);
    lib3ds_mesh_new_texel_list(out, (Lib3dsDword)points);
    lib3ds_mesh_new_face_list(out, (Lib3dsDword)faces);
    for (size_t i = 0; i < points; i++) {
        const MeshVertex& v = mesh.vertices[i];
        out->pointL[i].pos[0] = v.x;
        out->pointL[i].pos[1] = v.y;
        out->pointL[i].pos[2] = v.z;
        out->texelL[i][0] = v.u;
        out->texelL[i][1] = v.v;
    }
    for (size_t i = 0; i < faces; i++) {
        Lib3dsFace& f = out->faceL[i];
        f.points[0] = mesh.faces[i].a;
        f.points[1] = mesh.faces[i].b;
        f.points[2] = mesh.faces[i].c;
        f.flags = 7; // all three edges visible
        f.smoothing = 1;
    }
    lib3ds_file_insert_mesh(file, out);
    bool saved = lib3ds_file_save(file, path) != 0;
    lib3ds_file_free(file);
    if (!saved)
        fprintf(stderr, "generateAssets: cannot write %s\n", path);
    return saved;
}

bool writeBitmap(const Image& image, const char* path) {
    // stb writes top row first from the data it is given; our rows run bottom-up.
    size_t rowBytes = (size_t)image.width * 3;
    std::vector<unsigned char> topDown(image.rgb.size());
    for (int y = 0; y < image.height; y++)
        memcpy(&topDown[(size_t)(image.height - 1 - y) * rowBytes],
               &image.rgb[(size_t)y * rowBytes], rowBytes);
    if (stbi_write_bmp(path, image.width, image.height, 3, topDown.data()) == 0) {
        fprintf(stderr, "generateAssets: cannot write %s\n", path);
        return false;
    }
    return true;
}

bool writeRawImage(const Image& image, const char* path) {
    FILE* f = fopen(path, "wb");
    bool ok = f && fwrite(image.rgb.data(), 1, image.rgb.size(), f) == image.rgb.size();
    if (f && fclose(f) != 0)
        ok = false;
    if (!ok)
        fprintf(stderr, "generateAssets: cannot write %s\n", path);
    return ok;
}
