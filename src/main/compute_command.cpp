#include "compute_command.hpp"

#include <nlohmann/json.hpp>

#include "domain_job.hpp"
#include "exit_codes.hpp"
#include "expression_job.hpp"
#include "input_job.hpp"
#include "param_map.hpp"
#include "std_streams.hpp"

namespace kalvex {

void run_compute(ArgList args) {
  // The option values refer into the argument list, which lives for the whole
  // run.
  const std::string_view zone = option_value(args, "--zone").value_or("lucas");
  const std::optional<std::string_view> precision = option_value(args, "--precision");

  // The first selector present decides, even when its own job then fails.
  if (const auto input = option_text(args, "--input")) {
    run_input_job(*input, zone, precision, option_text(args, "--output"));
    return;
  }
  if (const auto expression = option_value(args, "--expression")) {
    const auto params_text = option_value(args, "--params");
    const ParamMap params = params_text ? param_map_from_json(load_json_argument(*params_text)) : ParamMap{};
    run_expression_job(*expression, params, zone, precision, option_text(args, "--output"));
    return;
  }
  if (const auto domain = option_value(args, "--domain")) {
    const auto params_text = option_value(args, "--params");
    DomainParams params =
        params_text ? domain_params_from_json(load_json_argument(*params_text)) : DomainParams{};
    run_domain_job(*domain, std::move(params), zone, precision, option_text(args, "--output"));
    return;
  }
  write_stderr("kalvex compute: need --input, --expression, or --domain\n");
  end_run(ExitCode::failure);
}

}  // namespace kalvex
