#include "CUncommittedEditDelegate.h"

CUncommittedEditDelegate::~CUncommittedEditDelegate() = default;

void CUncommittedEditDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}
