#include "core/data_module.h"

#include "core/helpers.h"

namespace morvela {

void Tdm::Work1Uprav() {
  Work1.SetDisplayRule("SKORE", [](const Query& q) {
    std::string s = q.FieldByName("SKORE").AsString();
    if (q.HasField("KONTUMACIA") && q.FieldByName("KONTUMACIA").AsBoolean()) s += " K";
    return s;
  });
}

}  // namespace morvela
