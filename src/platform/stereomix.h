#pragma once
// How the channels of a sound become the two channels of a stereo one.
//
// One channel feeds both sides unchanged; two channels stay as they are (first left,
// second right). With more channels, each side is the mean of the channels that feed it:
// channels placed on the left feed the left side, those on the right feed the right side,
// and centre, LFE, top-centre and unplaced channels feed both. Without a channel map the
// first channel is left, the second right and the others feed both. Every channel reaches
// the output, and a mean never leaves the range of its inputs, so nothing clips.

#include <QVector>

class StereoMix {
  public:
    // `map` holds libsndfile's channel positions (SF_CHANNEL_MAP_...), empty when unknown.
    StereoMix(int channels, const QVector<int>& map);

    // Weight of input channel `channel` in the left (side 0) or right (side 1) output.
    double weight(int channel, int side) const { return weights_[channel * 2 + side]; }
    // True when every output sample is one input sample as it is (one or two channels).
    bool isCopy() const { return channels_ <= 2; }
    int channels() const { return channels_; }

  private:
    int channels_;
    QVector<double> weights_;
};
