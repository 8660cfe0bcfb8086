// The probe's findings, one line each: "ok NAME", "fail NAME DETAIL", or
// "skip NAME REASON" for what the window manager at hand cannot show.
#pragma once

#include <cstdio>
#include <string>

namespace libprobe {

class Report {
public:
    void Ok(const char* name) { Line("ok", name, ""); }
    void Fail(const char* name, const std::string& detail) {
        ++failures_;
        Line("fail", name, detail);
    }
    void Skip(const char* name, const std::string& reason) { Line("skip", name, reason); }
    void Check(bool good, const char* name, const std::string& detail) { good ? Ok(name) : Fail(name, detail); }
    int failures() const { return failures_; }

private:
    static void Line(const char* verdict, const char* name, const std::string& detail) {
        std::printf("%s %s%s%s\n", verdict, name, detail.empty() ? "" : " ", detail.c_str());
        std::fflush(stdout);
    }
    int failures_ = 0;
};

}  // namespace libprobe
