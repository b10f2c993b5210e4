// The text form of component streams, for reading, comparing and editing by hand:
//
//   object Chart1: TChart
//     Legend.Visible = False
//     Title.Text.Strings = (
//       'Sales')
//     object Series1: TFastLineSeries
//       SeriesColor = -16776961
//     end
//   end
//
// Values: integers; floats with a '.' or an exponent (suffix 's' single, 'x' double, 'd' date,
// 'c' currency; NAN, INF, -INF), E#<20 hex digits> for an extended value no double holds;
// strings in single quotes ('' for a quote, #nn for control characters); identifiers; sets
// [a, b]; lists ( ... ); collections < item ... end >; binary data { hex }.
//
// ObjectBinaryToText and ObjectTextToBinary convert a whole stream (signature and component
// tree) between the two forms; a stream written by TWriter comes back byte for byte. Bad input
// raises EReadError naming the line (text) or what was wrong (binary).
#pragma once

#include "platform/Streams.h"

namespace zel {

void ObjectBinaryToText(TStream* Input, TStream* Output);
void ObjectTextToBinary(TStream* Input, TStream* Output);

}  // namespace zel
