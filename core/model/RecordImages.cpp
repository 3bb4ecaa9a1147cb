#include "core/model/RecordImages.h"

#include "core/base/RecordCodec.h"

namespace sondara {

namespace {

// Reads a whole image of `Bytes` bytes and takes it apart with `fields`.
template <std::size_t Bytes, class Record, class Fields>
bool readImage(ByteReader& in, Record& r, Fields fields) {
    unsigned char img[Bytes];
    if (!in.read(img, sizeof img)) return false;
    ImageIn f(img, sizeof img);
    fields(f, r);
    return true;
}

template <std::size_t Bytes, class Record, class Fields>
void writeImage(ByteWriter& out, const Record& r, Fields fields) {
    unsigned char img[Bytes];
    ImageOut f(img, sizeof img);
    fields(f, r);
    out.bytes(img, sizeof img);
}

constexpr std::size_t kLargestPointImage = pointImageBytes(PointImage::Clipboard);

}  // namespace

bool readStep(ByteReader& in, ProcessStep& s) {
    return readImage<kProcessStepBytes>(in, s,
                                        [](ImageIn& f, ProcessStep& r) { stepFields(f, r); });
}

void writeStep(ByteWriter& out, const ProcessStep& s) {
    writeImage<kProcessStepBytes>(out, s,
                                  [](ImageOut& f, const ProcessStep& r) { stepFields(f, r); });
}

bool readMark(ByteReader& in, PileMark& m) {
    return readImage<kPileMarkBytes>(in, m, [](ImageIn& f, PileMark& r) { markFields(f, r); });
}

void writeMark(ByteWriter& out, const PileMark& m) {
    writeImage<kPileMarkBytes>(out, m, [](ImageOut& f, const PileMark& r) { markFields(f, r); });
}

bool readPointImage(ByteReader& in, PointImage form, TestPoint& p) {
    unsigned char img[kLargestPointImage];
    const std::size_t size = pointImageBytes(form);
    if (!in.read(img, size)) return false;
    ImageIn f(img, size);
    pointFixedFields(f, p, form);
    return true;
}

void writePointImage(ByteWriter& out, PointImage form, const TestPoint& p) {
    unsigned char img[kLargestPointImage];
    const std::size_t size = pointImageBytes(form);
    ImageOut f(img, size);
    pointFixedFields(f, p, form);
    out.bytes(img, size);
}

}  // namespace sondara
