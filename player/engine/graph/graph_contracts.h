#pragma once
// The graph's notification contracts: members own a filter that lives in
// every graph; listeners receive every graph event and control notice.
#include <windows.h>
#include "platform/dshow.h"

#include <string>

#include "platform/com.h"

namespace lumorix::engine {

enum TGraphNotice { gnPlay, gnPause, gnStop, gnRendering, gnRendered, gnActive };
enum TMemberOperation { moAdding, moAdded, moRemoving, moRemoved };

class IFilterGraphListener {
 public:
  virtual void GraphEvent(long code, LONG_PTR param1, LONG_PTR param2) = 0;
  virtual void ControlEvent(TGraphNotice notice, int param) = 0;

 protected:
  ~IFilterGraphListener() = default;
};

class IFilterGraphMember {
 public:
  virtual ComPtr<IBaseFilter> GetFilter() = 0;
  virtual std::wstring GetName() = 0;
  virtual void NotifyFilter(TMemberOperation operation, int param) = 0;

 protected:
  ~IFilterGraphMember() = default;
};

}  // namespace lumorix::engine
