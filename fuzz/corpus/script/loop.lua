-- endless
function IsEnabled(node) while true do pcall(IsEnabled, node) end end
function CanAddChild(node) local t = {} for i = 1, 1e9 do t[i] = node.xml end end
