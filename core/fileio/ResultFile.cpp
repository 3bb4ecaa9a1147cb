#include "core/fileio/ResultFile.h"

namespace sondara {

void writeTextBlob(ByteWriter& out, std::string_view text) {
    if (text.empty()) {
        out.i32(0);
        return;
    }
    out.i32(static_cast<std::int32_t>(text.size() + 1));
    out.bytes(text.data(), text.size());
    out.u8(0);
}

bool readTextBlob(ByteReader& in, std::string& text) {
    text.clear();
    std::int32_t n = in.i32();
    if (!in.ok() || n < 0 || n > kMaxBlobBytes) {
        in.fail();
        return false;
    }
    char buf[kMaxBlobBytes];
    if (!in.read(buf, static_cast<std::size_t>(n))) return false;
    text.assign(buf, strnlen(buf, static_cast<std::size_t>(n)));
    return true;
}

namespace {

void writePile(ByteWriter& out, const CSondaraDoc& doc, const std::vector<int>& members) {
    const TestPoint& p = doc.points[members.front()];
    writeTextBlob(out, textOf(p.pileNo));
    out.i16(p.pileTypeIndex);
    writeTextBlob(out, textOf(p.pileTypeText));
    out.i16(p.pileDiameter);
    writeTextBlob(out, textOf(p.testDateTime));
    writeTextBlob(out, textOf(p.castingDate));
    out.i16(p.sensorType);
    out.i16(p.gain);
    out.i16(p.triggerLevel);
    out.i32(p.spare104);
    out.f32(p.pileLength);
    out.i16(p.waveSpeed);
    out.f32(p.sampleInterval);
    out.i16(p.recordedLength);
    out.u8(p.integrityClass);
    writeTextBlob(out, textOf(p.remark));
    out.i32(static_cast<std::int32_t>(members.size()));
    for (int i : members) {
        const TestPoint& q = doc.points[i];
        out.i32(q.defectCount());
        for (const PileMark& m : q.defects) {
            out.i32(m.kind);
            writeTextBlob(out, textOf(m.name));
            out.f32(m.depth);
        }
    }
}

}  // namespace

void writeResult(ByteWriter& out, const CSondaraDoc& doc) {
    writeTextBlob(out, kResultFileTag);
    writeTextBlob(out, textOf(doc.info.testingUnit));
    writeTextBlob(out, textOf(doc.info.projectName));
    std::vector<std::vector<int>> piles;
    for (int i = 0; i < doc.pointCount();) {
        std::vector<int> members = doc.pileMembersOf(i);
        i = members.back() + 1;
        piles.push_back(std::move(members));
    }
    out.i32(static_cast<std::int32_t>(piles.size()));
    for (const auto& members : piles) writePile(out, doc, members);
}

bool WriteResultFile(const CSondaraDoc& doc, const std::string& path, std::string* error) {
    AtomicFileWriter file(path);
    if (file.isOpen()) {
        writeResult(file.writer(), doc);
        if (file.commit()) return true;
    }
    if (error) *error = file.error();
    return false;
}

}  // namespace sondara
