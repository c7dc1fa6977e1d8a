// Result buffers and status codes of the host's programming interface: the typed linked lists
// that carry filter lists, extended data, xrecord contents and system variable values.
#pragma once

#include <cstdint>

typedef double ads_real;
typedef ads_real ads_point[3];
typedef int64_t ads_name[2];  // [0] identifies the object, [1] is unused here
typedef double ads_matrix[4][4];

// Status codes of input and utility functions.
#define RTNORM 5100
#define RTNONE 5000
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTERROR (-5001)
#define RTCAN (-5002)
#define RTKWORD (-5005)
#define RTINPUTTRUNCATED (-5008)

// Type codes of a result buffer's value (restype values below 5000 are DXF group codes).
#define RTNONE_TYPE 5000
#define RTREAL 5001
#define RTPOINT 5002
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007
#define RTORINT 5008
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016
#define RTLE 5017
#define RTDOTE 5018
#define RTNIL 5019
#define RTDXF0 5020
#define RTT 5021
#define RTRESBUF 5023
#define RTMODELESS 5027
#define RTLONG_PTR 5030
#define RTINT64 5031

// An item of a result-buffer list. For DXF group codes the value member follows the code's
// type: 0-9 and 1000-1009 text (1004 binary chunk as text of hex digits), 10-39 and 1010-1059
// points, 40-59 and 1040-1042 reals, 60-79 and 1070 shorts, 90-99 and 1071 longs.
struct resbuf {
    struct resbuf* rbnext = nullptr;
    short restype = RTNONE_TYPE;
    union ads_u_val {
        ads_real rreal;
        ads_real rpoint[3];
        short rint;
        wchar_t* rstring;
        int64_t rlname[2];
        int32_t rlong;
        int64_t mnInt64;
        struct ads_binary {
            short clen;
            char* buf;
        } rbinary;
    } resval{};
};

// What kind of value a result-buffer type code carries.
enum class ResbufValueKind { None, Real, Point, Short, Long, Int64, Text, Name, Binary };
ResbufValueKind acutResbufValueKind(int restype);

// A new buffer of the given type with a zeroed value; free with acutRelRb.
struct resbuf* acutNewRb(int restype);
// Frees a whole list, including its strings.
int acutRelRb(struct resbuf* rb);
// Builds a list from (type, value) pairs ended by 0: RTSTR/RTDXF0/text codes take a
// const wchar_t*, RTREAL/real codes a double, RTSHORT/short codes an int, RTLONG/long codes an
// int, RTPOINT/RT3DPOINT/point codes a const double*, RTENAME a const int64_t*, RTLB/RTLE/
// RTDOTE/RTNIL/RTT nothing. Returns null on an unknown type.
struct resbuf* acutBuildList(int rtype, ...);
// A deep copy of a list.
struct resbuf* acutDuplicateRb(const struct resbuf* rb);
