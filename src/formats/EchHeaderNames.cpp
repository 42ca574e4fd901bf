#include "formats/EchHeaderNames.h"

namespace varnock {

const std::array<EchHeaderProperty, kHeaderFieldCount> kEchHeaderProperties = {{
    {"PW", HeaderField::White},
    {"PB", HeaderField::Black},
    {"WR", HeaderField::WhiteELO},
    {"BR", HeaderField::BlackELO},
    {"DT", HeaderField::Date},
    {"RE", HeaderField::Result},
    {"PC", HeaderField::Site},
    {"EV", HeaderField::Event},
    {"ED", HeaderField::EventDate},
    {"RO", HeaderField::Round},
    {"BO", HeaderField::Board},
    {"TC", HeaderField::TimeControl},
    {"OP", HeaderField::Opening},
    {"EC", HeaderField::ECO},
    {"AN", HeaderField::Annotator},
    {"GC", HeaderField::GameComment},
}};

std::optional<HeaderField> EchHeaderFieldOf(std::string_view name) {
  if (name.size() != 2) return std::nullopt;
  for (const EchHeaderProperty& property : kEchHeaderProperties)
    if (property.name == name) return property.field;
  return std::nullopt;
}

}  // namespace varnock
