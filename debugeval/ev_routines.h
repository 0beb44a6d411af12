// The runtime routines of the intrinsic functions: function code and
// ordinal. One list serves the evaluator's table, the DLL's imports and
// the stand-in runtime's exports.
#pragma once

#define TXEV_ROUTINES(R) \
  R(0x00, 3505) \
  R(0x01, 4614) \
  R(0x02, 4620) \
  R(0x03, 3706) \
  R(0x04, 3704) \
  R(0x05, 4604) \
  R(0x06, 5101) \
  R(0x07, 3803) \
  R(0x08, 4626) \
  R(0x10, 5163) \
  R(0x11, 5164) \
  R(0x12, 4200) \
  R(0x16, 826) \
  R(0x17, 825) \
  R(0x18, 3902) \
  R(0x19, 5169) \
  R(0x1A, 5170) \
  R(0x1B, 4609) \
  R(0x1C, 5171) \
  R(0x1D, 4007) \
  R(0x1E, 4006) \
  R(0x1F, 5172) \
  R(0x20, 4826) \
  R(0x21, 3502) \
  R(0x22, 5173) \
  R(0x25, 5176) \
  R(0x26, 3617) \
  R(0x27, 3616) \
  R(0x28, 5003) \
  R(0x2E, 4623) \
  R(0x2F, 4624) \
  R(0x30, 3418) \
  R(0x31, 4014) \
  R(0x32, 4013) \
  R(0x33, 4012) \
  R(0x34, 4015) \
  R(0x35, 4412) \
  R(0x36, 3414) \
  R(0x38, 3401) \
  R(0x3A, 4600) \
  R(0x40, 3614) \
  R(0x41, 4403) \
  R(0x42, 4407) \
  R(0x50, 3611) \
  R(0x51, 3612) \
  R(0x52, 3500) \
  R(0x53, 3415) \
  R(0x54, 4409) \
  R(0x55, 4602) \
  R(0x80, 3202) \
  R(0x81, 4613) \
  R(0x82, 4619) \
  R(0x83, 4833) \
  R(0x84, 4625) \
  R(0x90, 3416) \
  R(0x91, 4405) \
  R(0x92, 4002) \
  R(0x93, 4001) \
  R(0x94, 4000) \
  R(0x95, 4003) \
  R(0x96, 3411) \
  R(0x97, 3409) \
  R(0xA0, 4413) \
  R(0xA1, 4411) \
  R(0xA2, 3201) \
  R(0xA3, 3428) \
  R(0xA4, 3429) \
  R(0xA5, 3425) \
  R(0xA6, 3426) \
  R(0xA7, 3427) \
  R(0xB0, 3407) \
  R(0xB1, 3408) \
  R(0xB2, 4410) \
  R(0xB3, 4408) \
  R(0xB4, 4404) \
  R(0xB5, 3413) \
  R(0xB6, 3410) \
  R(0xC0, 3417) \
  R(0xC3, 4406) \
  R(0xC4, 3412)

// Routines chosen by the type of the first argument (codes 0x99 and 0xC5):
// V(ordinal) in the order BYT, INT, LNG, SNG, DBL (and strings for 0xC5).
#define TXEV_STR_VARIANTS(V) V(3402) V(3403) V(3404) V(3405) V(3406)
#define TXEV_FORMAT_VARIANTS(V) V(3419) V(3420) V(3421) V(3422) V(3423) V(3424)
