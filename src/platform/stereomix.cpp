#include "platform/stereomix.h"

#include <sndfile.h>

namespace {

enum Side { Left, Right, Both };

Side side_of(int position) {
    switch (position) {
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
    case SF_CHANNEL_MAP_REAR_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
    case SF_CHANNEL_MAP_SIDE_LEFT:
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
    case SF_CHANNEL_MAP_TOP_REAR_LEFT:
        return Left;
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_REAR_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
    case SF_CHANNEL_MAP_SIDE_RIGHT:
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
        return Right;
    default:
        return Both;
    }
}

} // namespace

StereoMix::StereoMix(int channels, const QVector<int>& map)
    : channels_(channels), weights_(channels * 2, 0.0) {
    QVector<Side> sides(channels, Both);
    for (int c = 0; c < channels; ++c) {
        if (channels == 2 || map.size() != channels)
            sides[c] = c == 0 ? Left : c == 1 ? Right : Both;
        else
            sides[c] = side_of(map[c]);
    }
    if (channels == 1)
        sides[0] = Both;
    for (int side = 0; side < 2; ++side) {
        const Side own = side == 0 ? Left : Right;
        int feeding = 0;
        for (Side s : sides)
            feeding += s == own || s == Both;
        // A map that puts every channel on one side still gives the other side the mean of
        // them all rather than silence.
        for (int c = 0; c < channels; ++c) {
            const bool feeds = feeding == 0 || sides[c] == own || sides[c] == Both;
            if (feeds)
                weights_[c * 2 + side] = 1.0 / (feeding == 0 ? channels : feeding);
        }
    }
}
