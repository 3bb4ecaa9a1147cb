#pragma once
// The field order of every stored record, written once and walked by the readers and
// the writers alike (ImageIn and ImageOut of RecordCodec.h), so that the directions
// and the data file and the clipboard block cannot drift apart. Templates over the
// record type: this layer knows the field names, not the model's classes.
#include <cstddef>

namespace sondara {

// The stored forms of a point's fixed part: the three data file versions that carry
// one ("QAR04", "QAR15", "QAR16") and the clipboard block.
enum class PointImage { F4, F15, F16, Clipboard };

inline constexpr std::size_t kPointImageBytes[] = {116, 128, 195, 197};
constexpr std::size_t pointImageBytes(PointImage form) {
    return kPointImageBytes[static_cast<int>(form)];
}

// The pile and test parameters of a point. "QAR04" keeps 10 bytes of the pile
// number; the old versions and the clipboard keep two bytes after the wave speed;
// only "QAR16" and the clipboard carry the class, casting date and remark.
template <class Io, class Point>
void pointFixedFields(Io& f, Point& p, PointImage form) {
    f(p.spare0);
    f.text(p.pileNo, form == PointImage::F4 ? 10 : p.pileNo.size());
    f(p.pileTypeIndex);
    f.text(p.pileTypeText, p.pileTypeText.size());
    f(p.pileDiameter);
    f.text(p.testDateTime, p.testDateTime.size());
    f(p.sensorType);
    f(p.gain);
    f(p.triggerLevel);
    f(p.spare104);
    f(p.pileLength);
    f(p.waveSpeed);
    if (form != PointImage::F16) f.gap(2);
    f(p.sampleInterval);
    f(p.recordedLength);
    f(p.headIndex);
    f(p.toeIndex);
    if (form == PointImage::F16 || form == PointImage::Clipboard) {
        f(p.integrityClass);
        f.text(p.castingDate, p.castingDate.size());
        f.text(p.remark, p.remark.size());
    }
}

// The 1112-byte processing step.
template <class Io, class Step>
void stepFields(Io& f, Step& s) {
    f(s.kind);
    f(s.reserved0);
    f(s.filterType);
    f(s.upperFreqHz);
    f(s.lowerFreqHz);
    f(s.ampLaw);
    f(s.ampFactor);
    f(s.ampStart);
    f(s.smoothPoints);
    f(s.dcPartial);
    f(s.dcStart);
    f(s.rotPartial);
    f(s.rotStart);
    f(s.rotAngle);
    f(s.rotScale);
    f(s.linZeroMode);
    f(s.linZeroStart);
    f(s.nonlinZeroMode);
    f(s.nonlinZeroStart);
    f(s.frontZeroEnd);
    f(s.backZeroStart);
    f(s.scaleStart);
    f(s.scaleEnd);
    f(s.scaleFactor);
    f(s.shiftSamples);
    f(s.shiftMv);
    f(s.shiftPartial);
    f(s.shiftStart);
    f(s.shiftEnd);
    for (auto& d : s.viewStates) {
        f(d.fill);
        f(d.spectrumStyle);
        f(d.reserved);
        f(d.positionMode);
        f(d.xOffset);
        f(d.hScaleMode);
        f(d.hScale);
        f(d.vScaleMode);
        f(d.vScale);
    }
    f(s.rangeMax);
    f(s.rangeMin);
    f(s.reserved1);
}

// The 164-byte defect mark.
template <class Io, class Mark>
void markFields(Io& f, Mark& m) {
    f(m.position);
    f(m.kind);
    f(m.name);
    f(m.remark);
    f(m.depth);
    f(m.thirdText);
    f(m.padding);
}

}  // namespace sondara
