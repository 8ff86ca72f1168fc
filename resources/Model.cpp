#include "resources/Model.h"

#include "resources/Model_header.h"

Model Model::read(const uint8_t* data, size_t size)
{
    Model model;
    Byte_cursor cursor(data, size);
    if (!Model_header::read_declared(cursor, model.declared)) {
        model.status = Read_status{Read_reason::header_past_end, cursor.offset()};
        return model;
    }
    model.has_header = true;
    const int32_t n = Model_header::capped(model.declared, cursor.remaining());
    model.meshes.reserve(size_t(n));
    for (int32_t i = 0; i < n; ++i) {
        // The entry ending where a record would start is a header counting
        // more meshes than the entry holds, not a broken record.
        if (cursor.at_end()) break;
        Mesh_record m;
        model.status = m.read(cursor);
        if (!model.status.ok()) return model;
        model.meshes.push_back(m);
    }
    const bool fewer = model.meshes.size() < size_t(model.declared > 0 ? model.declared : 0);
    model.status = Read_status{fewer ? Read_reason::fewer_meshes_than_counted : Read_reason::ok, cursor.offset()};
    return model;
}
