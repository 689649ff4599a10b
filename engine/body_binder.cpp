// Binding a function body (bound_body.h): names to slots, calls to their functions, texts to
// their lexed forms, and the flat statement list to constructs, the way the walker reads it.
// Anything the walker would have to decide while running makes the binding give up.
#include <new>

#include "bound_body.h"
#include "stack_guard.h"
#include "statements.h"

namespace {

class Binder {
public:
    Binder(ScriptProgram& program, const FunctionDef& function, const StackGuardState& guard)
        : program_(program), guard_(guard), strict_(program.strict) {
        for (const ScriptValue& parameter : function.parameters) scope_.push_back(parameter.name);
    }

    bool BindBlock(const Block& block, std::vector<BoundConstruct>& out) {
        const std::size_t outer = scope_.size();
        for (const ScriptValue& local : block.locals) scope_.push_back(local.name);
        bool bound = BindList(block.statements, out);
        scope_.resize(outer);
        return bound;
    }

private:
    // The local table holds the parameters and the declarations of the enclosing blocks in
    // this order at every run, since a bound body makes no implicit variable; a name is looked
    // up the way LookupVariable does, newest first, then among the globals.
    bool Resolve(std::string_view name, BoundVariable& out) {
        for (std::size_t i = scope_.size(); i-- > 0;) {
            if (scope_[i].size() == name.size() && NamesEqual(scope_[i], name, strict_)) {
                out = {false, static_cast<uint32_t>(i)};
                return true;
            }
        }
        const ScriptValue* global = FindVariable(program_.globals, name, strict_);
        if (!global) return false;
        out = {true, static_cast<uint32_t>(global - program_.globals.data())};
        return true;
    }

    bool BindList(const std::vector<Statement>& list, std::vector<BoundConstruct>& out) {
        out.reserve(list.size());
        for (std::size_t index = 0; index < list.size(); ++index) {
            if (!BindConstruct(list, index, out.emplace_back())) return false;
        }
        return true;
    }

    // What the walker's construct at `index` runs; `index` ends on its last statement.
    bool BindConstruct(const std::vector<Statement>& list, std::size_t& index,
                       BoundConstruct& out) {
        if (StackGuard::Exhausted(guard_)) return false;  // the walker reports deep nesting itself
        const Statement& statement = list[index];
        out.statement = &statement;
        const bool hasItem = !statement.items.empty();
        switch (KindOf(statement)) {
        case StatementKind::kBlock: return BindBlock(*statement.block, out.list);
        case StatementKind::kEmpty:
        case StatementKind::kBreak: return true;
        case StatementKind::kAssignment:
            return hasItem &&
                   Resolve(std::string_view(statement.keyword).substr(1), out.variable) &&
                   BindItem(statement.items.front(), out.value);
        case StatementKind::kReturn: return hasItem && BindItem(statement.items.front(), out.value);
        case StatementKind::kCall: return BindStatementCall(statement, out);
        case StatementKind::kIf:
            if (!hasItem || !BindItem(statement.items.front(), out.value) ||
                !BindControlled(list, index, out.body))
                return false;
            // An else right after the controlled statement belongs to this if; one with
            // nothing after it the walker treats its own way.
            if (index + 1 < list.size() && IsElse(list[index + 1])) {
                if (index + 2 >= list.size()) return false;
                index += 2;
                out.otherwise = std::make_unique<BoundConstruct>();
                return BindConstruct(list, index, *out.otherwise);
            }
            return true;
        case StatementKind::kWhile:
        case StatementKind::kRepeat:
            return hasItem && BindItem(statement.items.front(), out.value) &&
                   BindControlled(list, index, out.body);
        case StatementKind::kElse:
        case StatementKind::kUnclassified: break;
        }
        return false;
    }

    // The statement a header controls; a header that ends its list is the walker's case.
    bool BindControlled(const std::vector<Statement>& list, std::size_t& index,
                        std::unique_ptr<BoundConstruct>& out) {
        if (index + 1 >= list.size()) return false;
        ++index;
        out = std::make_unique<BoundConstruct>();
        return BindConstruct(list, index, *out);
    }

    bool BindItem(const ScriptValue& item, BoundItem& out) {
        out.item = &item;
        switch (item.type) {
        case kTypeVarRef: return Resolve(item.text, out.variable);
        case kTypeExpression:
            out.expression = std::make_unique<BoundExpression>();
            return BindExpression(item, *out.expression);
        default: return true;  // a constant
        }
    }

    // An argument item: a constant must be one an argument can hold.
    bool BindArgument(const ScriptValue& item, BoundItem& out) {
        switch (item.type) {
        case kTypeVarRef:
        case kTypeExpression:
        case kTypeString:
        case kTypeInt:
        case kTypeVoid:
        case kTypeHkey:
        case kTypeHbrowser:
        case kTypeHfile: return BindItem(item, out);
        default: return false;
        }
    }

    bool BindExpression(const ScriptValue& item, BoundExpression& out) {
        // The form the evaluation would lex and cache; one the cache budget refuses is left
        // to the walker, which lexes it at each evaluation.
        std::shared_ptr<const LexedExpression> lexed = item.lexed;
        if (!lexed || lexed->strict != strict_) {
            lexed = LexExpression(item.text, strict_);
            if (!lexed->cacheable) return false;
            item.lexed = lexed;
        }
        out.lexed = lexed;
        out.operands.resize(lexed->tokens.size());
        for (std::size_t i = 0; i < lexed->tokens.size(); ++i) {
            const ExprToken& token = lexed->tokens[i];
            BoundOperand& operand = out.operands[i];
            switch (token.kind) {
            case TokenKind::Variable:
                if (!Resolve(token.value.text, operand.variable)) return false;
                break;
            case TokenKind::Call:
                operand.call = std::make_unique<BoundCall>();
                if (!BindCall(token.value.text, token.target, token.args, *operand.call))
                    return false;
                break;
            case TokenKind::Group:
                operand.group = std::make_unique<BoundItem>();
                if (!BindItem(token.value, *operand.group)) return false;
                break;
            case TokenKind::Operator:
            case TokenKind::Constant:
            case TokenKind::Error: break;
            }
        }
        if (lexed->plan == ExprPlan::kIntPair) {
            for (std::size_t side = 0; side < 2; ++side) {
                const PlanOperand& operand = lexed->operands[side];
                out.pair[side].constant = operand.constant;
                out.pair[side].variable = out.operands[operand.item].variable;
            }
            out.pairOp = lexed->steps.front().op;
        }
        out.loneCall = lexed->callPlan && lexed->tokens.size() == 1;
        return true;
    }

    // A call binds when it cannot fail for want of its function: `exit` (only its first item
    // is ever evaluated), a built-in, or a user function that takes its arguments directly.
    bool BindCall(std::string_view name, const CallTarget& target, const VariableTable& args,
                  BoundCall& out) {
        out.name = name;
        out.target = &target;
        if (target.exit) {
            if (args.empty()) return true;
            out.args.resize(1);
            return BindItem(args.front(), out.args.front());
        }
        if (!target.builtin) {
            const FunctionDef* function = program_.FindFunction(name);
            if (!function || function->parameters.size() != args.size() ||
                NamesEqual(function->name, "main", strict_))
                return false;
            out.function = function;
            // A site spelled exactly like the definition names the call by the definition's
            // own string, which the record may hold already (RunFunction).
            if (name == function->name) out.name = function->name;
        }
        out.args.resize(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (!BindArgument(args[i], out.args[i])) return false;
        }
        return true;
    }

    bool BindStatementCall(const Statement& statement, BoundConstruct& out) {
        const int8_t rule = strict_ ? 1 : 0;
        if (statement.targetRule != rule) {
            statement.target = ResolveCallTarget(statement.keyword, strict_);
            statement.targetRule = rule;
        }
        out.call = std::make_unique<BoundCall>();
        return BindCall(statement.keyword, statement.target, statement.items, *out.call);
    }

    ScriptProgram& program_;
    const StackGuardState& guard_;
    const bool strict_;
    std::vector<std::string_view> scope_;
};

}  // namespace

const BoundBody* BindBody(RunContext& context, const FunctionDef& function) {
    ScriptProgram& program = context.program;
    if (!program.bindBodies) return nullptr;
    const int8_t rule = program.strict ? 1 : 0;
    if (function.boundRule != rule) {
        function.boundRule = rule;
        function.bound.reset();
        try {
            auto body = std::make_shared<BoundBody>();
            if (Binder(program, function, *context.guard).BindBlock(function.body, body->list))
                function.bound = std::move(body);
        } catch (const std::bad_alloc&) {
            // The walker runs the body; it reports a shortage where it meets one.
        }
    }
    return function.bound.get();
}
