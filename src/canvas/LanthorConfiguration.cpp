#include "LanthorConfiguration.h"

#include "base/Log.h"

namespace lanthor {

LanthorConfiguration::LanthorConfiguration() : font_(u"Helvetica", 15.0) {}

void LanthorConfiguration::toggleNodeNumber() {
    setShowNodeNumber(!showNodeNumber_);
    logLine(showNodeNumber_ ? "SHOWING NODE #" : "HIDING NODE #");
}

} // namespace lanthor
