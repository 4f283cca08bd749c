#pragma once
// Filter chains of "-vf" and "-af": checking them against this FFmpeg's filters, and how much
// they stretch the time of what passes through them.

#include <QString>

namespace fffilters {

enum class Media { Video, Audio, Any };

// A simple chain: every filter exists, the chain parses, and it has one input and one
// output of the given media type (any type for Any). Fails with the reason.
bool check_chain(const QString& chain, Media media, QString& error);

// Output time over input time: the product of the "setpts"/"asetpts" factors (F of
// "setpts=F*PTS"), divided by the product of the "atempo" factors. Filters that do not
// change the time count as 1.
double time_factor(const QString& chain);

} // namespace fffilters
