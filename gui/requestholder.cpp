#include "gui/requestholder.h"

namespace velmora {

RequestHolder::RequestHolder(const SubjectTable& subjects) {
    connect(&subjects, &QAbstractItemModel::rowsInserted, this, &RequestHolder::forgetOutput);
    connect(&subjects, &QAbstractItemModel::rowsRemoved, this, &RequestHolder::forgetOutput);
    connect(&subjects, &QAbstractItemModel::modelReset, this, &RequestHolder::forgetOutput);
    connect(&subjects, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (!roles.contains(SubjectTable::FaultRole) &&
                    !roles.contains(SubjectTable::WarningRole))
                    forgetOutput();
            });
}

void RequestHolder::set(const Request& request) {
    if (request == request_)
        return;
    request_ = request;
    forgetOutput();
    Q_EMIT changed();
}

void RequestHolder::setOutput(const Output& output) {
    if (output == output_)
        return;
    output_ = output;
    Q_EMIT outputChanged();
}

} // namespace velmora
