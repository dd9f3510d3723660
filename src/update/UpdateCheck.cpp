#include "update/UpdateCheck.h"

#include "platform/Event.h"
#include "update/HttpClient.h"
#include "update/UpdateQuery.h"

namespace update {

bool UpdateCheck::Run(const std::vector<UpdateProduct>& rows, const UpdateService& service,
                      const platform::Event& stop, const Report& report) {
    HttpClient client;
    client.Settings().caFile = service.caFile;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (stop.IsSet()) return false;
        const UpdateProduct& row = rows[k];
        UpdateInfo info =
            UpdateQuery::Ask(client, service.baseUrl, AppKey(row), row.version, row.hexFlag, &stop);
        if (stop.IsSet()) return false;
        report(k, std::move(info));
    }
    return true;
}

}  // namespace update
