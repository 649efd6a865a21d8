-- rules
function SetVal(elem, attr, value, first, passed, second)
  elem:setAttribute(attr.nodeName, value)
  return 0, first, second
end
function CanAddChild(node) return #node:selectNodes("//dfns:Private") < 150 end
function OnAddNew(node)
  local p = node:createElement("Private")
  p:setAttribute("name", "New")
  node.parentNode:appendChild(p)
  return p
end
function OnDelete(node, first, passed, second)
  local parent = node.parentNode
  parent:removeChild(node)
  parent:appendChild(node:cloneNode(true))
  return 0, first, second
end
function IsEnabled(node) return node.text ~= "" end
