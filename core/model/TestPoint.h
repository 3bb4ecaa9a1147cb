#pragma once
// One measurement point (测点): pile parameters, the recorded and the processed trace,
// the processing chain, remembered parameters, defects and analysis marks.
//
// The arrays are owned values: copying a TestPoint is always deep. Note that the
// point copy used throughout the program (copyPoint) deliberately does not carry
// `extraText`; plain assignment does.
#include <cstdint>
#include <vector>

#include "core/base/FixedText.h"
#include "core/model/PileMark.h"
#include "core/model/ProcessStep.h"

namespace sondara {

struct TestPoint {
    std::int16_t spare0 = 0;
    FixedText<22> pileNo{};
    std::int16_t pileTypeIndex = 0;  // 0..9 into PileTypeNames, 100 = custom text
    FixedText<50> pileTypeText{};
    std::int16_t pileDiameter = 0;  // mm
    FixedText<20> testDateTime{};
    std::int16_t sensorType = 0;  // 0 acceleration, 1 velocity, 2 acceleration->velocity
    std::int16_t gain = 0;
    std::int16_t triggerLevel = 0;
    std::int32_t spare104 = 0;
    float pileLength = 0.0f;      // m
    std::int16_t waveSpeed = 0;   // m/s
    float sampleInterval = 0.0f;  // us
    std::int16_t recordedLength = 0;
    std::int16_t headIndex = 0;
    std::int16_t toeIndex = 0;
    std::uint8_t integrityClass = 0;
    FixedText<20> castingDate{};
    FixedText<50> remark{};

    std::vector<float> rawSamples;  // as recorded, never changed by processing
    std::vector<float> samples;     // rawSamples passed through steps
    std::vector<ProcessStep> steps;
    ProcessStep lastParams{};
    std::vector<PileMark> defects;
    std::vector<std::int32_t> spectrumMarks;
    std::vector<std::int32_t> correlationMarks;
    std::vector<std::int32_t> waveletMarkPanes;  // parallel to waveletMarkPositions
    std::vector<std::int32_t> waveletMarkPositions;

    std::int32_t checked = 0;
    std::int32_t headSetFlag = 1;
    std::int32_t toeSetFlag = 1;
    std::int32_t sourceIndex = 0;  // in memory only (undo snapshots)
    FixedText<50> extraText{};

    int rawCount() const { return static_cast<int>(rawSamples.size()); }
    int sampleCount() const { return static_cast<int>(samples.size()); }
    int stepCount() const { return static_cast<int>(steps.size()); }
    int defectCount() const { return static_cast<int>(defects.size()); }
    int waveletMarkCount() const { return static_cast<int>(waveletMarkPositions.size()); }

    bool operator==(const TestPoint&) const = default;
};

// Calls f(a.x, b.x) for every fixed field x (the pile and test parameters the
// information table edits; the stored forms of these fields are in RecordFields.h).
template <class A, class B, class F>
void forEachFixedField(A& a, B& b, F&& f) {
    f(a.spare0, b.spare0);
    f(a.pileNo, b.pileNo);
    f(a.pileTypeIndex, b.pileTypeIndex);
    f(a.pileTypeText, b.pileTypeText);
    f(a.pileDiameter, b.pileDiameter);
    f(a.testDateTime, b.testDateTime);
    f(a.sensorType, b.sensorType);
    f(a.gain, b.gain);
    f(a.triggerLevel, b.triggerLevel);
    f(a.spare104, b.spare104);
    f(a.pileLength, b.pileLength);
    f(a.waveSpeed, b.waveSpeed);
    f(a.sampleInterval, b.sampleInterval);
    f(a.recordedLength, b.recordedLength);
    f(a.headIndex, b.headIndex);
    f(a.toeIndex, b.toeIndex);
    f(a.integrityClass, b.integrityClass);
    f(a.castingDate, b.castingDate);
    f(a.remark, b.remark);
}

// Releases every array; fixed fields are untouched.
void clearArrays(TestPoint& p);

// The program's point copy: every fixed field, every array (deep), lastParams,
// checked, the set flags and sourceIndex; `extraText` of the destination is kept.
void copyPoint(const TestPoint& src, TestPoint& dst);

}  // namespace sondara
